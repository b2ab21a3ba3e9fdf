// Register semantics of the simulated controller.
#include <gtest/gtest.h>

#include "controller.h"

namespace zel::sim {
namespace {

ModelInfo modelWith(int code, int flags) {
    ModelInfo m;
    m.code = code;
    m.io = IoCounts{flags, 16, 16, 0, 4, 8, 4};
    return m;
}

TEST(ControllerFlags, UpToThirtyTwoFlagsArePackedInRegister13005) {
    Controller c(modelWith(5, 24));
    ASSERT_EQ(c.putFlag(1, 1), ZL_OK);
    ASSERT_EQ(c.putFlag(24, 1), ZL_OK);
    EXPECT_EQ(c.getRegister(13005).value, (1 << 0) | (1 << 23));
    EXPECT_EQ(c.putFlag(25, 1), ZL_ERR_NOT_PRESENT);
    EXPECT_EQ(c.getRegister(13021).error, ZL_ERR_NOT_PRESENT);
    // Writing the word sets flags; bits past the count stay clear.
    ASSERT_EQ(c.putRegister(13005, -1), ZL_OK);
    EXPECT_TRUE(c.flag(24));
    EXPECT_EQ(c.getRegister(13005).value, (1 << 24) - 1);
}

TEST(ControllerFlags, MoreThanThirtyTwoFlagsUseOneWordPerThirtyTwo) {
    Controller c(modelWith(5, 100));
    ASSERT_EQ(c.putFlag(25, 1), ZL_OK);
    ASSERT_EQ(c.putFlag(33, 1), ZL_OK);
    ASSERT_EQ(c.putFlag(100, 1), ZL_OK);
    EXPECT_EQ(c.getRegister(13021).value, 1 << 24);
    EXPECT_EQ(c.getRegister(13022).value, 1);
    EXPECT_EQ(c.getRegister(13024).value, 1 << 3);
    EXPECT_EQ(c.getRegister(13025).error, ZL_ERR_NOT_PRESENT);
    ASSERT_EQ(c.putRegister(13023, 0x5), ZL_OK);
    EXPECT_TRUE(c.flag(65));
    EXPECT_FALSE(c.flag(66));
    EXPECT_TRUE(c.flag(67));
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

TEST(ControllerRegisters, NumbersOutsideOneTo40000AreIllegal) {
    Controller c(modelWith(5, 32));
    EXPECT_EQ(c.getRegister(0).error, ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_EQ(c.getRegister(40001).error, ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_EQ(c.putRegister(-3, 1), ZL_ERR_ILLEGAL_REGISTER);
    ASSERT_EQ(c.putRegister(40000, -7), ZL_OK);
    EXPECT_EQ(c.getRegister(40000).value, -7);
    ASSERT_EQ(c.putRegister(32001, 123456), ZL_OK);
    EXPECT_EQ(c.getRegister(32001).value, 123456);
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

TEST(ControllerRegisters, InputsAndServoFeedbackAreReadOnly) {
    Controller c(modelWith(5, 32));
    for (int reg : {2001, 8501, 14101, 14701, 13008})
        EXPECT_EQ(c.putRegister(reg, 1), ZL_ERR_ILLEGAL_REGISTER) << reg;
    ASSERT_EQ(c.presetRegister(2003, 1), ZL_OK);
    EXPECT_EQ(c.getRegister(2003).value, 1);
    EXPECT_EQ(c.getRegister(13008).value, 5);
}

TEST(ControllerRegisters, OutputsTakeOnlyZeroOrOneAndAnalogOutputsAnyValue) {
    Controller c(modelWith(5, 32));
    ASSERT_EQ(c.putRegister(1005, 1), ZL_OK);
    EXPECT_EQ(c.getRegister(1005).value, 1);
    EXPECT_EQ(c.putRegister(1005, 2), ZL_ERR_BAD_VALUE);
    ASSERT_EQ(c.putRegister(8003, 25000), ZL_OK);
    EXPECT_EQ(c.getRegister(8003).value, 25000);
    ASSERT_EQ(c.putRegister(14002, -1000), ZL_OK);
    EXPECT_EQ(c.getRegister(14002).value, -1000);
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
    EXPECT_EQ(c.status(), 9);          // stopped after a reset
    ASSERT_EQ(c.putStatus(9), ZL_OK);  // bit 3 wins: still a reset
    EXPECT_EQ(c.status(), 9);
    ASSERT_EQ(c.putStatus(9 & ~8), ZL_OK);  // start, as the monitor writes it
    EXPECT_EQ(c.status(), 0);
    ASSERT_EQ(c.putStatus(0), ZL_OK);  // stop
    EXPECT_EQ(c.status(), 1);
    ASSERT_EQ(c.putStatus(1), ZL_OK);  // start again, without a reset
    EXPECT_EQ(c.status(), 0);
    ASSERT_EQ(c.putStatus(8), ZL_OK);  // reset while running
    EXPECT_EQ(c.status(), 9);
}

TEST(ControllerConfig, HoldsFourInputBits) {
    Controller c(modelWith(5, 32));
    ASSERT_EQ(c.putConfig(0xF), ZL_OK);
    EXPECT_EQ(c.config(), 0xF);
    EXPECT_EQ(c.putConfig(0x10), ZL_ERR_BAD_VALUE);
    EXPECT_EQ(c.config(), 0xF);
}

class ControllerClock : public ::testing::Test {
protected:
    // 2026-03-07 14:30:15, a Saturday.
    int64_t host = 1772893815;
    Controller c{modelWith(5, 32), [this] { return host; }};

    int32_t reg(int n) { return c.getRegister(n).value; }
};

TEST_F(ControllerClock, ShowsTheHostTimeAndKeepsRunning) {
    EXPECT_EQ(reg(13014), 15);
    EXPECT_EQ(reg(13015), 30);
    EXPECT_EQ(reg(13016), 14);
    EXPECT_EQ(reg(13017), 7);
    EXPECT_EQ(reg(13018), 3);
    EXPECT_EQ(reg(13019), 26);
    EXPECT_EQ(reg(13020), 7);  // Saturday; 1 is Sunday
    host += 50;
    EXPECT_EQ(reg(13014), 5);
    EXPECT_EQ(reg(13015), 31);
}

TEST_F(ControllerClock, LatchedWritesTakeEffectTogetherAndTheClockRunsOn) {
    ASSERT_EQ(c.putRegister(13013, 1), ZL_OK);
    ASSERT_EQ(c.putRegister(13016, 23), ZL_OK);
    ASSERT_EQ(c.putRegister(13015, 59), ZL_OK);
    ASSERT_EQ(c.putRegister(13014, 50), ZL_OK);
    ASSERT_EQ(c.putRegister(13017, 31), ZL_OK);
    ASSERT_EQ(c.putRegister(13018, 12), ZL_OK);
    ASSERT_EQ(c.putRegister(13019, 99), ZL_OK);
    ASSERT_EQ(c.putRegister(13020, 5), ZL_OK);
    host += 3;  // the latch holds the fields still
    EXPECT_EQ(reg(13014), 50);
    ASSERT_EQ(c.putRegister(13013, 0), ZL_OK);
    host += 15;  // across midnight into a new year
    EXPECT_EQ(reg(13014), 5);
    EXPECT_EQ(reg(13016), 0);
    EXPECT_EQ(reg(13017), 1);
    EXPECT_EQ(reg(13018), 1);
    EXPECT_EQ(reg(13019), 0);
    EXPECT_EQ(reg(13020), 6);  // the day of week counts on from what was written
}

TEST_F(ControllerClock, UnlatchedWriteChangesOneFieldAndBadValuesAreRefused) {
    ASSERT_EQ(c.putRegister(13016, 9), ZL_OK);
    EXPECT_EQ(reg(13016), 9);
    EXPECT_EQ(reg(13015), 30);
    EXPECT_EQ(c.putRegister(13015, 60), ZL_ERR_BAD_VALUE);
    EXPECT_EQ(c.putRegister(13018, 0), ZL_ERR_BAD_VALUE);
    EXPECT_EQ(c.putRegister(13020, 8), ZL_ERR_BAD_VALUE);
    EXPECT_EQ(c.putRegister(13013, 2), ZL_ERR_BAD_VALUE);
}

}  // namespace
}  // namespace zel::sim
