// Raw status packets and task banks, byte for byte.
#include <gtest/gtest.h>

#include "raw_status.h"
#include "running_controller.h"
#include "task_bank.h"

namespace zel::sim {
namespace {

using Bytes = std::vector<uint8_t>;

// The reading side's validity rules, written out independently of the simulator's code.
bool readerAccepts(const Bytes& r, uint8_t code) {
    if (r.size() < 4 || r[0] + 1u != r.size() || r[1] != code || r.back() != 255) return false;
    uint8_t sum = 0;
    for (size_t i = 1; i + 2 < r.size(); ++i) sum = static_cast<uint8_t>(sum + r[i]);
    return r[r.size() - 2] == (sum ^ 0xFF);
}

Program starter(int count, std::optional<StepFault> fault = std::nullopt) {
    Program p;
    Step one{1, 1000, 0, std::vector<int>(static_cast<size_t>(count), 10), {}, std::nullopt};
    Step ten{10, 500, 0, {}, {}, std::nullopt};
    Step tail{300, 10, 0, {}, {}, fault};
    one.next = fault ? 300 : 0;
    p.steps = {{1, one}, {10, ten}, {300, tail}};
    return p;
}

TEST(RawStatus, HeaderReplyCarriesRunStateAndFaultByteForByte) {
    Controller c = test::runningController(5, starter(0, StepFault{13, -2}));
    c.advance(1000);
    RawStatusResponder raw;
    // 1, length 4, command 35, argument 255, checksum 255 - (35 + 255) % 256 = 221, end 255.
    const auto r = raw.answer(Bytes{1, 4, 35, 255, 221, 255}, c);
    ASSERT_TRUE(r.ok());
    // stopped 1, code 13, step 299 (0x012B, low first), datum -2, checksum 157, end 255.
    EXPECT_EQ(r.value, (Bytes{11, 45, 1, 13, 0x2B, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 157, 255}));
    EXPECT_TRUE(readerAccepts(r.value, 45));
}

TEST(RawStatus, MalformedRequestsAreBadPackets) {
    Controller c = test::runningController(5, starter(0));
    RawStatusResponder raw;
    EXPECT_EQ(raw.answer(Bytes{1, 4, 35, 255, 222, 255}, c).error, ZL_ERR_BAD_PACKET);  // checksum
    EXPECT_EQ(raw.answer(Bytes{1, 4, 35, 255, 221, 254}, c).error, ZL_ERR_BAD_PACKET);  // end byte
    EXPECT_EQ(raw.answer(Bytes{1, 5, 35, 255, 221, 255}, c).error, ZL_ERR_BAD_PACKET);  // length
    EXPECT_EQ(raw.answer(Bytes{2, 4, 35, 255, 221, 255}, c).error, ZL_ERR_BAD_PACKET);  // start
    EXPECT_EQ(raw.answer(Bytes{1, 4, 35, 0, 220, 255}, c).error, ZL_ERR_BAD_PACKET);    // argument
    EXPECT_EQ(raw.answer(Bytes{1, 4, 36, 255, 220, 255}, c).error, ZL_ERR_UNKNOWN_REQUEST);
}

TEST(RawStatus, TaskGroupOfSixteenTaskControllerHasTwoKeyBytes) {
    Controller c = test::runningController(1, starter(2));
    RawStatusResponder raw;
    // offset 0, flag 1: checksum 255 - 108 = 147.
    const auto r = raw.answer(Bytes{1, 5, 107, 0, 1, 147, 255}, c);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.value.size(), 4u + 8 * 5 + 2);
    EXPECT_TRUE(readerAccepts(r.value, 108));
    EXPECT_EQ(r.value[2], 16);  // task total
    EXPECT_EQ(r.value[3], 0);   // offset
    const Bytes records(r.value.begin() + 4, r.value.end() - 2);
    const Bytes expected{
        0,    0,    1,    0b11, 0,  // task 0 at step 1 (zero-based 0), started tasks 1 and 2
        9,    0,    1,    0,    0,  // task 1 at step 10
        9,    0,    1,    0,    0,  // task 2 at step 10
        0xFF, 0xFF, 0,    0,    0, 0xFF, 0xFF, 0,    0,    0, 0xFF, 0xFF, 0,
        0,    0,    0xFF, 0xFF, 0, 0,    0,    0xFF, 0xFF, 0, 0,    0};
    EXPECT_EQ(records, expected);
}

TEST(RawStatus, SixtyFourTasksGiveEightKeyBytesAndGroupsComeFromOneSnapshot) {
    Controller c = test::runningController(10, starter(40));
    RawStatusResponder raw;
    const auto first = raw.answer(Bytes{1, 5, 107, 0, 1, 147, 255}, c);
    ASSERT_TRUE(first.ok());
    ASSERT_EQ(first.value.size(), 4u + 8 * 11 + 2);
    EXPECT_EQ(first.value[2], 64);
    EXPECT_EQ(Bytes(first.value.begin() + 4, first.value.begin() + 15),
              (Bytes{0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0}));

    c.advance(500);  // every started task ends; the snapshot still shows them
    // offset 32, flag 0: checksum 255 - (107 + 32) = 116.
    const auto group = raw.answer(Bytes{1, 5, 107, 32, 0, 116, 255}, c);
    ASSERT_TRUE(group.ok());
    EXPECT_TRUE(readerAccepts(group.value, 108));
    EXPECT_EQ(group.value[3], 32);
    EXPECT_EQ(group.value[4 + 7 * 11], 9);  // task 39 at step 10
    const auto fresh = raw.answer(Bytes{1, 5, 107, 32, 1, 115, 255}, c);
    EXPECT_EQ(fresh.value[4 + 7 * 11], 0xFF);  // a new snapshot: not executed
}

TEST(TaskBank, BanksHoldOneBasedStepsAndBothKeyWords) {
    Controller c = test::runningController(10, starter(40));
    const auto bank = taskBank(c, 65);
    ASSERT_TRUE(bank.ok());
    EXPECT_EQ(bank.value, taskBank(c, 1).value);
    const TaskBankWords& w = bank.value;
    EXPECT_EQ(w[0], 0);  // running
    EXPECT_EQ(w[4], 1);  // task 0 at step 1
    EXPECT_EQ(w[5], 10);
    EXPECT_EQ(w[12], -1);                           // task 0's key word for tasks 1..32: all set
    EXPECT_EQ(w[20], 0xFF);                         // tasks 33..40
    EXPECT_EQ(taskBank(c, 6).value[4 + 1], 65536);  // task 41: not executed
    EXPECT_EQ(taskBank(c, 9).error, ZL_ERR_NOT_PRESENT);
    EXPECT_EQ(taskBank(c, 17).error, ZL_ERR_BAD_ARGUMENT);
    EXPECT_EQ(taskBank(c, 0).error, ZL_ERR_BAD_ARGUMENT);
}

}  // namespace
}  // namespace zel::sim
