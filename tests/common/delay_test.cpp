#include <gtest/gtest.h>

#include <cmath>

#include "common/delay.h"

namespace zel {
namespace {

// A time of day that moves on by a tenth of a second at every pause, wrapping at midnight.
struct SteppingClock {
    double now;

    DelayClock clock() {
        return {[this] { return now; }, [this](double) { now = std::fmod(now + 0.1, 86400.0); }};
    }
};

TEST(Delay, RunsEventsUntilTheTimeHasPassedOrTheDayWraps) {
    const struct {
        double start;
        float seconds;
        int minPumps, maxPumps;
    } cases[] = {
        {1000.0, 0.5f, 5, 6},
        {1000.0, 0.0f, 0, 0},
        {86399.8, 10.0f, 0, 3},  // past midnight the wait ends early
    };
    for (const auto& c : cases) {
        SteppingClock time{c.start};
        int pumped = 0;
        Delay(
            c.seconds, [&] { ++pumped; }, time.clock());
        EXPECT_GE(pumped, c.minPumps) << c.start << " + " << c.seconds;
        EXPECT_LE(pumped, c.maxPumps) << c.start << " + " << c.seconds;
    }
}

TEST(Delay, EventsCanRunDuringTheWaitOfTheRealClock) {
    int pumped = 0;
    Delay(0.05f, [&] { ++pumped; });
    EXPECT_GT(pumped, 0);
}

// The end of the wait can pass between reading the clock and pausing; the pause asked for is
// then negative and must not turn into an endless sleep.
TEST(Delay, APauseAskedForAfterTheEndReturnsAtOnce) {
    const DelayClock clock = systemDelayClock();
    const double before = clock.secondsSinceMidnight();
    clock.pause(-0.001);
    clock.pause(-1e-9);
    EXPECT_LT(clock.secondsSinceMidnight() - before, 1.0);
}

}  // namespace
}  // namespace zel
