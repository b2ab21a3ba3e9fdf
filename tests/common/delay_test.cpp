#include <gtest/gtest.h>

#include <cmath>

#include "delay.h"

namespace zel {
namespace {

// A time of day that moves on by a fixed step at every pause, wrapping at midnight.
struct SteppingClock {
    double now;
    double step;

    DelayClock clock() {
        return {[this] { return now; }, [this](double) { now = std::fmod(now + step, 86400.0); }};
    }
};

TEST(Delay, RunsEventsUntilTheTimeHasPassed) {
    SteppingClock time{1000.0, 0.1};
    int pumped = 0;
    Delay(
        0.5f, [&] { ++pumped; }, time.clock());
    EXPECT_GE(time.now, 1000.5);
    EXPECT_NEAR(pumped, 5, 1);
}

TEST(Delay, ZeroSecondsReturnsAtOnce) {
    SteppingClock time{1000.0, 0.1};
    int pumped = 0;
    Delay(
        0.0f, [&] { ++pumped; }, time.clock());
    EXPECT_EQ(pumped, 0);
}

TEST(Delay, ReturnsWhenTheTimeOfDayWrapsPastMidnight) {
    SteppingClock time{86399.8, 0.1};
    int pumped = 0;
    Delay(
        10.0f, [&] { ++pumped; }, time.clock());
    EXPECT_LE(pumped, 3);
    EXPECT_LT(time.now, 1.0);
}

TEST(Delay, EventsCanRunDuringTheWaitOfTheRealClock) {
    int pumped = 0;
    Delay(0.05f, [&] { ++pumped; });
    EXPECT_GT(pumped, 0);
}

}  // namespace
}  // namespace zel
