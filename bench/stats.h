// Timing of repeated round trips: median and 99th percentile in microseconds.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace zel::bench {

struct Stats {
    double median_us = 0;
    double p99_us = 0;
};

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
        out.push_back({s[s.size() / 2], s[s.size() * 99 / 100]});
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
    return {samples[samples.size() / 2], samples[samples.size() * 99 / 100]};
}

}  // namespace zel::bench
