#include "trends/decimation.h"

#include <algorithm>
#include <cmath>

namespace zel {

std::vector<TrendSample> decimate(const std::deque<TrendSample>& history, qint64 from, qint64 to,
                                  int columns) {
    const auto earlier = [](const TrendSample& s, qint64 t) { return s.msecs < t; };
    const auto later = [](qint64 t, const TrendSample& s) { return t < s.msecs; };
    auto first = std::lower_bound(history.begin(), history.end(), from, earlier);
    auto last = std::upper_bound(first, history.end(), to, later);
    if (first != history.begin()) --first;
    if (last != history.end()) ++last;
    if (columns <= 0 || to <= from || last - first <= 2 * static_cast<qint64>(columns))
        return {first, last};

    // The neighbours outside the span fall in columns -1 and `columns`, each alone.
    const double width = static_cast<double>(to - from) / columns;
    const auto column = [&](const TrendSample& s) {
        const double c = std::floor(static_cast<double>(s.msecs - from) / width);
        return static_cast<qint64>(std::clamp(c, -1.0, static_cast<double>(columns)));
    };
    std::vector<TrendSample> out;
    out.reserve(2 * static_cast<size_t>(columns) + 2);
    for (auto it = first; it != last;) {
        const qint64 c = column(*it);
        auto low = it;
        auto high = it;
        for (++it; it != last && column(*it) == c; ++it) {
            if (it->value < low->value) low = it;
            if (it->value > high->value) high = it;
        }
        out.push_back(*std::min(low, high));
        if (low != high) out.push_back(*std::max(low, high));
    }
    return out;
}

}  // namespace zel
