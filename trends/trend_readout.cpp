#include "trends/trend_readout.h"

#include <algorithm>

namespace zel {

std::vector<std::optional<TrendReading>> readAt(const std::vector<TrendSeries>& series,
                                                qint64 msecs) {
    std::vector<std::optional<TrendReading>> out;
    out.reserve(series.size());
    for (const TrendSeries& s : series) {
        const auto& h = s.history;
        auto after = std::lower_bound(h.begin(), h.end(), msecs,
                                      [](const TrendSample& x, qint64 t) { return x.msecs < t; });
        if (after == h.end() ||
            (after != h.begin() && msecs - std::prev(after)->msecs <= after->msecs - msecs))
            after = after == h.begin() ? after : std::prev(after);
        if (after == h.end())
            out.emplace_back();
        else
            out.push_back(TrendReading{after->msecs, after->value});
    }
    return out;
}

}  // namespace zel
