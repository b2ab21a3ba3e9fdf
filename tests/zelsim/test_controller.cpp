// Register semantics of the simulated controller.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "controller.h"

namespace zel::sim {
namespace {

ModelInfo modelWith(int code, int flags) {
    ModelInfo m;
    m.code = code;
    m.io = IoCounts{flags, 16, 16, 0, 4, 8, 4};
    return m;
}

TEST(ControllerFlags, OneWordHoldsUpToThirtyTwoAndLargerBanksTakeAWordPerThirtyTwo) {
    Controller few(modelWith(5, 24));
    ASSERT_EQ(few.putFlag(1, 1), ZL_OK);
    ASSERT_EQ(few.putFlag(24, 1), ZL_OK);
    EXPECT_EQ(few.getRegister(13005).value, (1 << 0) | (1 << 23));
    EXPECT_EQ(few.putFlag(25, 1), ZL_ERR_NOT_PRESENT);
    EXPECT_EQ(few.getRegister(13021).error, ZL_ERR_NOT_PRESENT);
    // Writing the word sets flags; bits past the count stay clear.
    ASSERT_EQ(few.putRegister(13005, -1), ZL_OK);
    EXPECT_TRUE(few.flag(24));
    EXPECT_EQ(few.getRegister(13005).value, (1 << 24) - 1);

    Controller many(modelWith(5, 100));
    for (int n : {25, 33, 100}) ASSERT_EQ(many.putFlag(n, 1), ZL_OK) << n;
    EXPECT_EQ(many.getRegister(13021).value, 1 << 24);
    EXPECT_EQ(many.getRegister(13022).value, 1);
    EXPECT_EQ(many.getRegister(13024).value, 1 << 3);
    EXPECT_EQ(many.getRegister(13025).error, ZL_ERR_NOT_PRESENT);
    ASSERT_EQ(many.putRegister(13023, 0x5), ZL_OK);
    EXPECT_TRUE(many.flag(65));
    EXPECT_FALSE(many.flag(66));
    EXPECT_TRUE(many.flag(67));
}

TEST(ControllerFlags, WritingRegister13200PlusNSetsFlagN) {
    Controller c(modelWith(5, kMaxFlags));
    ASSERT_EQ(c.putRegister(13200 + 40, 7), ZL_OK);
    EXPECT_TRUE(c.flag(40));
    EXPECT_EQ(c.getRegister(13240).value, 1);
    EXPECT_EQ(c.getRegister(13240 + 1).value, 0);
    EXPECT_EQ(c.getRegister(40).value, 0);  // the plain register is untouched
    ASSERT_EQ(c.putRegister(13240, 0), ZL_OK);
    EXPECT_FALSE(c.flag(40));

    Controller small(modelWith(5, 32));
    EXPECT_EQ(small.putRegister(13233, 1), ZL_ERR_NOT_PRESENT);
}

TEST(ControllerRegisters, ResourcesBeyondTheCountAreNotPresent) {
    Controller c(modelWith(5, 32));  // 16 in, 16 out, 4 servos, 8 analog in, 4 analog out
    struct Case {
        int present;
        int absent;
    };
    for (Case k : {Case{1016, 1017}, Case{2016, 2017}, Case{8004, 8005}, Case{8508, 8509},
                   Case{14004, 14005}, Case{14104, 14105}, Case{14704, 14705}}) {
        EXPECT_TRUE(c.getRegister(k.present).ok()) << k.present;
        EXPECT_EQ(c.getRegister(k.absent).error, ZL_ERR_NOT_PRESENT) << k.absent;
        EXPECT_EQ(c.putRegister(k.absent, 0), ZL_ERR_NOT_PRESENT) << k.absent;
    }
}

TEST(ControllerRegisters, WritesAreCheckedByRangeAndKind) {
    Controller c(modelWith(5, 32));
    // Numbers run 1..40000; inputs, servo feedback and the model word are read-only.
    for (int reg : {0, -3, 40001, 2001, 8501, 14101, 14701, 13008})
        EXPECT_EQ(c.putRegister(reg, 1), ZL_ERR_ILLEGAL_REGISTER) << reg;
    // Outputs take 0 or 1, analog outputs and servo targets any value.
    for (auto [reg, value] :
         {std::pair{40000, -7}, {32001, 123456}, {1005, 1}, {8003, 25000}, {14002, -1000}}) {
        ASSERT_EQ(c.putRegister(reg, value), ZL_OK) << reg;
        EXPECT_EQ(c.getRegister(reg).value, value) << reg;
    }
    EXPECT_EQ(c.putRegister(1005, 2), ZL_ERR_BAD_VALUE);
    EXPECT_EQ(c.getRegister(0).error, ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_EQ(c.getRegister(40001).error, ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_EQ(c.getRegister(1005).value, 1);
    EXPECT_EQ(c.getRegister(13008).value, 5);
    ASSERT_EQ(c.presetRegister(2003, 1), ZL_OK);  // inputs change only from the world's side
    EXPECT_EQ(c.getRegister(2003).value, 1);
    // The configuration word holds four input bits.
    ASSERT_EQ(c.putConfig(0xF), ZL_OK);
    EXPECT_EQ(c.putConfig(0x10), ZL_ERR_BAD_VALUE);
    EXPECT_EQ(c.config(), 0xF);
}

TEST(ControllerVRegisters, OnlyModelFiveHasThemAndOnlyFrom36001) {
    Controller five(modelWith(5, 32));
    ASSERT_EQ(five.setVRegister(36001, 3.25), ZL_OK);
    EXPECT_DOUBLE_EQ(five.getVRegister(36001).value, 3.25);
    EXPECT_EQ(five.getRegister(36001).value, 3);  // a plain read sees the whole part
    ASSERT_EQ(five.putRegister(36002, -4), ZL_OK);
    EXPECT_DOUBLE_EQ(five.getVRegister(36002).value, -4.0);
    EXPECT_EQ(five.getVRegister(36000).error, ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_EQ(five.setVRegister(40001, 1.0), ZL_ERR_ILLEGAL_REGISTER);

    Controller six(modelWith(6, 32));
    EXPECT_EQ(six.getVRegister(36001).error, ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_EQ(six.setVRegister(36001, 1.5), ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_TRUE(six.getRegister(36001).ok());
}

TEST(ControllerNetwork, AbsentNetworkRegistersAreIllegal) {
    Controller c(modelWith(5, 32));
    for (int reg : {20000, 20005, 20006, 20048, 20051, 20064, 20083, 20096})
        EXPECT_EQ(c.getRegister(reg).error, ZL_ERR_ILLEGAL_REGISTER) << reg;
    EXPECT_TRUE(c.getRegister(20001).ok());  // not a network register
    c.setNetworkPresent(true);
    ASSERT_EQ(c.putRegister(20048, 300), ZL_OK);  // octets are stored as written
    EXPECT_EQ(c.getRegister(20048).value, 300);
    EXPECT_EQ(c.putRegister(20005, 1), ZL_ERR_ILLEGAL_REGISTER);  // the MAC address is fixed
    EXPECT_EQ(c.putRegister(20096, 1), ZL_OK);
}

TEST(ControllerStatus, WrittenStatusWordIsACommand) {
    Controller c(modelWith(5, 32));
    Program loop;
    loop.steps[1] = Step{1, 100, 1, {}, {}, std::nullopt};
    c.loadProgram(loop);
    EXPECT_EQ(c.status(), 9);  // stopped after a reset
    // Bit 3 wins (still a reset); the monitor starts by clearing it; 0 stops; 1 starts again
    // without a reset; 8 resets a running program.
    for (auto [written, after] : {std::pair{9, 9}, {9 & ~8, 0}, {0, 1}, {1, 0}, {8, 9}}) {
        ASSERT_EQ(c.putStatus(written), ZL_OK) << written;
        EXPECT_EQ(c.status(), after) << written;
    }
}

class ControllerClock : public ::testing::Test {
protected:
    // 2026-03-07 14:30:15, a Saturday.
    int64_t host = 1772893815;
    Controller c{modelWith(5, 32), [this] { return host; }};

    // Seconds, minutes, hours, day, month, year and day of the week.
    std::vector<int32_t> clock() {
        std::vector<int32_t> fields;
        for (int n = 13014; n <= 13020; ++n) fields.push_back(c.getRegister(n).value);
        return fields;
    }
};

TEST_F(ControllerClock, ShowsTheHostTimeAndKeepsRunning) {
    EXPECT_EQ(clock(), (std::vector<int32_t>{15, 30, 14, 7, 3, 26, 7}));  // 1 is Sunday
    host += 50;
    EXPECT_EQ(clock(), (std::vector<int32_t>{5, 31, 14, 7, 3, 26, 7}));
}

TEST_F(ControllerClock, LatchedWritesTakeEffectTogetherAndTheClockRunsOn) {
    ASSERT_EQ(c.putRegister(13013, 1), ZL_OK);
    for (auto [reg, value] : {std::pair{13016, 23},
                              {13015, 59},
                              {13014, 50},
                              {13017, 31},
                              {13018, 12},
                              {13019, 99},
                              {13020, 5}})
        ASSERT_EQ(c.putRegister(reg, value), ZL_OK) << reg;
    host += 3;  // the latch holds the fields still
    EXPECT_EQ(clock()[0], 50);
    ASSERT_EQ(c.putRegister(13013, 0), ZL_OK);
    host += 15;  // across midnight into a new year; the day of week counts on from what was written
    EXPECT_EQ(clock(), (std::vector<int32_t>{5, 0, 0, 1, 1, 0, 6}));
}

TEST_F(ControllerClock, UnlatchedWriteChangesOneFieldAndBadValuesAreRefused) {
    ASSERT_EQ(c.putRegister(13016, 9), ZL_OK);
    EXPECT_EQ(clock(), (std::vector<int32_t>{15, 30, 9, 7, 3, 26, 7}));
    for (auto [reg, bad] : {std::pair{13015, 60}, {13018, 0}, {13020, 8}, {13013, 2}})
        EXPECT_EQ(c.putRegister(reg, bad), ZL_ERR_BAD_VALUE) << reg;
}

}  // namespace
}  // namespace zel::sim
