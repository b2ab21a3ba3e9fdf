// Thinning a series for a plot: hours of samples drawn across a few hundred pixel columns
// keep, in each column, only the lowest and the highest sample, in the order they came. A
// line through them draws the same as through every sample, so the plot stays smooth however
// long the span.
#pragma once

#include <deque>
#include <vector>

#include "trends/trend_set.h"

namespace zel {

// The samples of `history` (oldest first) from `from` to `to` (msecs) thinned to `columns`
// columns, with the nearest sample outside each end so that a line runs to the edges. A span
// with no more than two samples a column comes back whole.
std::vector<TrendSample> decimate(const std::deque<TrendSample>& history, qint64 from, qint64 to,
                                  int columns);

}  // namespace zel
