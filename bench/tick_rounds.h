// Ticks timed round by round against the same round trips made straight to the library, in
// turn: both last as long, so another process's time slice lands in either as often, where a
// lone round trip's median would leave it out. Also the shares of the tick spent in the library
// and letting events run.
#pragma once

#include <QElapsedTimer>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "counting_library.h"
#include "stats.h"

namespace zel::bench {

struct TickRounds {
    long tripsPerTick = 0;
    Spread tickUs, floorUs, ratio, inLibrary, pumping;
    size_t rounds = 0;
};

// `trip` makes one round trip outside `library`; `tick` makes one tick through it, adding the
// time it lets events run to `pumpNs`.
inline TickRounds measureTickRounds(int rounds, int ticksPerRound, long tripsPerTick,
                                    const std::function<void()>& trip,
                                    const std::function<void()>& tick, CountingLibrary& library,
                                    double& pumpNs) {
    const auto trips = [&] {
        for (long i = 0; i < tripsPerTick; ++i) trip();
    };
    double tickNs = 0;
    const auto timedTick = [&] {
        QElapsedTimer clock;
        clock.start();
        tick();
        tickNs += static_cast<double>(clock.nsecsElapsed());
    };
    std::vector<double> ticks, floors, ratios, inLibrary, pumping;
    for (int round = 0; round < rounds; ++round) {
        library.callNs = 0;
        pumpNs = 0;
        tickNs = 0;
        const auto s = measureInterleaved(ticksPerRound, {trips, timedTick});
        floors.push_back(s[0].median_us);
        ticks.push_back(s[1].median_us);
        ratios.push_back(s[1].median_us / s[0].median_us);
        inLibrary.push_back(library.callNs / tickNs);
        pumping.push_back(pumpNs / tickNs);
    }
    return {tripsPerTick,        spreadOf(ticks),   spreadOf(floors), spreadOf(ratios),
            spreadOf(inLibrary), spreadOf(pumping), ratios.size()};
}

// "tick, <what>: ... | ratio ..., goal ..." and the shares on the next line; the pump's goal is
// a share under 5 %, judged as printed.
inline void printTickRounds(const char* what, const TickRounds& r, double goal) {
    std::printf(
        "tick, %s: %.1f us (%.1f-%.1f) vs its %ld round trips in a row %.1f us (%.1f-%.1f) | ",
        what, r.tickUs.median, r.tickUs.min, r.tickUs.max, r.tripsPerTick, r.floorUs.median,
        r.floorUs.min, r.floorUs.max);
    printRatio(r.ratio, r.rounds, goal);
    std::printf(
        "  in the library %.0f%% of the tick (%.0f-%.0f); event pumping %.1f%% (%.1f-%.1f), "
        "goal < 5%% %s\n",
        100 * r.inLibrary.median, 100 * r.inLibrary.min, 100 * r.inLibrary.max,
        100 * r.pumping.median, 100 * r.pumping.min, 100 * r.pumping.max,
        std::round(1000 * r.pumping.median) < 50 ? "met" : "NOT MET");
}

}  // namespace zel::bench
