// The load of the plot benchmarks: eight series of 100,000 samples at 100 ms (about 2.8 hours)
// redrawn ten times a second, each frame a little later, as a live trend moves. Reports the
// processor time a second of redraws takes, as a share of one core, drawing every sample and
// drawing the min/max thinning of the window's pixel columns.
#pragma once

#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>
#include <vector>

#include "trends/decimation.h"
#include "trends/trend_set.h"

namespace zel::bench {

constexpr int kSeries = 8;
constexpr int kPoints = 100000;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;
constexpr int kFramesPerSecond = 10;

inline std::vector<std::deque<TrendSample>> plotData() {
    std::vector<std::deque<TrendSample>> data(kSeries);
    for (int s = 0; s < kSeries; ++s)
        for (int i = 0; i < kPoints; ++i)
            data[s].push_back(
                {i * 100LL, static_cast<int32_t>(1000 * std::sin(i / (50.0 + 20 * s)) + 300 * s +
                                                 (i * 7919 % 97))});
    return data;
}

inline double processorMs() {
    rusage u{};
    ::getrusage(RUSAGE_THREAD, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Runs `frame(n)` `frames` times after a few to warm up; prints the share of a core at ten
// frames a second.
inline void report(const char* what, int frames, const std::function<void(int)>& frame) {
    for (int n = 0; n < 3; ++n) frame(n);
    const double start = processorMs();
    for (int n = 0; n < frames; ++n) frame(n);
    const double perFrame = (processorMs() - start) / frames;
    std::printf("%-44s %8.2f ms a frame  %6.1f %% of a core at %d frames/s\n", what, perFrame,
                perFrame * kFramesPerSecond / 10.0, kFramesPerSecond);
}

}  // namespace zel::bench
