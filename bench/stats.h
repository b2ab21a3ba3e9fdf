// Timing of repeated round trips: median and 99th percentile in microseconds; and ratios of
// measured work to its floor, taken round by round.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace zel::bench {

struct Stats {
    double median_us = 0;
    double p99_us = 0;
};

// The value that `percent` % of a sorted, non-empty set of values are at or below.
inline double percentileOf(const std::vector<double>& sorted, int percent) {
    return sorted[sorted.size() * static_cast<size_t>(percent) / 100];
}

// Runs the round trips in turn, one of each per round, so that whatever drifts during the run
// (frequency, other load) weighs on all of them alike.
inline std::vector<Stats> measureInterleaved(int iterations,
                                             const std::vector<std::function<void()>>& trips) {
    using Clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> samples(trips.size());
    for (int i = 0; i < iterations / 10 + 1; ++i)
        for (const auto& trip : trips) trip();
    for (int i = 0; i < iterations; ++i) {
        // Each round starts with another trip, so no trip always follows the same one.
        for (size_t j = 0; j < trips.size(); ++j) {
            const size_t k = (j + static_cast<size_t>(i)) % trips.size();
            const auto start = Clock::now();
            trips[k]();
            samples[k].push_back(
                std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        }
    }
    std::vector<Stats> out;
    for (auto& s : samples) {
        std::sort(s.begin(), s.end());
        out.push_back({percentileOf(s, 50), percentileOf(s, 99)});
    }
    return out;
}

template <typename RoundTrip>
Stats measure(int iterations, RoundTrip&& roundTrip) {
    using Clock = std::chrono::steady_clock;
    for (int i = 0; i < iterations / 10 + 1; ++i) roundTrip();  // warm caches and the scheduler
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(iterations));
    for (int i = 0; i < iterations; ++i) {
        const auto start = Clock::now();
        roundTrip();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(samples.begin(), samples.end());
    return {percentileOf(samples, 50), percentileOf(samples, 99)};
}

// The median of a set of values and how far they spread.
struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

inline Spread spreadOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// What one round measured: the floor, then the work it bounds.
template <typename Floor, typename Work>
struct Round {
    Floor floor;
    Work work;
};

// Measures the floor and the work once each per round, the floor first in one round and last
// in the next, so that a drift during the run (another process's load, the clock frequency)
// weighs on both alike and shows in the spread of the per-round ratios rather than in their
// median.
template <typename MeasureFloor, typename MeasureWork>
auto inRounds(int rounds, MeasureFloor&& floor, MeasureWork&& work) {
    std::vector<Round<decltype(floor()), decltype(work())>> out;
    for (int i = 0; i < rounds; ++i) {
        if (i % 2 == 0) {
            auto f = floor();
            out.push_back({std::move(f), work()});
        } else {
            auto w = work();
            out.push_back({floor(), std::move(w)});
        }
    }
    return out;
}

// `of` applied to every round, as a median and spread.
template <typename Rounds, typename Of>
Spread spreadOver(const Rounds& rounds, Of&& of) {
    std::vector<double> values;
    for (const auto& r : rounds) values.push_back(of(r));
    return spreadOf(std::move(values));
}

// "ratio 1.04 (1.01-1.09 over 5 rounds), goal <= 1.10 met"; the median is judged as printed, so
// a printed 1.40 never fails a goal of 1.40.
inline void printRatio(const Spread& ratio, size_t rounds, double goal) {
    const bool met = std::round(ratio.median * 100) <= std::round(goal * 100);
    std::printf("ratio %.2f (%.2f-%.2f over %zu rounds), goal <= %.2f %s\n", ratio.median,
                ratio.min, ratio.max, rounds, goal, met ? "met" : "NOT MET");
}

// "ratio 1.04, goal <= 1.10 met" for a figure measured once; judged as printed, as above.
inline void printRatio(double ratio, double goal) {
    const bool met = std::round(ratio * 100) <= std::round(goal * 100);
    std::printf("ratio %.2f, goal <= %.2f %s\n", ratio, goal, met ? "met" : "NOT MET");
}

}  // namespace zel::bench
