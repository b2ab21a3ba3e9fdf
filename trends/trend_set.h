// The trended set: the values the user chose with Add to Trend, each with a bounded history of
// samples for the plot. A value is trended once, under the name it was first added with.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "trends/trend_item.h"

namespace zel {

struct TrendSample {
    qint64 msecs;  // UTC, since the epoch
    int32_t value;
};

struct TrendSeries {
    TrendItem item;
    std::deque<TrendSample> history;  // oldest first
};

class TrendSet {
public:
    // An hour of samples at the fastest polling interval (100 ms).
    static constexpr size_t kDefaultHistory = 36000;

    explicit TrendSet(size_t historyLimit = kDefaultHistory) : limit_(historyLimit) {}

    // False when the value is already trended.
    bool add(const TrendItem& item);
    void clear() {
        series_.clear();
        ++revision_;
    }
    bool empty() const { return series_.empty(); }
    const std::vector<TrendSeries>& series() const { return series_; }
    // Appends a sample to series `index`, dropping the oldest past the limit.
    void record(size_t index, TrendSample sample);
    // Rises with every change, so a plot redraws only when there is something new.
    uint64_t revision() const { return revision_; }

private:
    size_t limit_;
    std::vector<TrendSeries> series_;
    uint64_t revision_ = 0;
};

}  // namespace zel
