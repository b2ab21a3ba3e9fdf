#include "trends/trend_set.h"

#include <algorithm>

namespace zel {

bool TrendSet::add(const TrendItem& item) {
    const bool known = std::any_of(series_.begin(), series_.end(), [&](const TrendSeries& s) {
        return s.item.source == item.source;
    });
    if (known) return false;
    series_.push_back({item, {}});
    ++revision_;
    return true;
}

void TrendSet::record(size_t index, TrendSample sample) {
    std::deque<TrendSample>& history = series_.at(index).history;
    history.push_back(sample);
    if (history.size() > limit_) history.pop_front();
    ++revision_;
}

}  // namespace zel
