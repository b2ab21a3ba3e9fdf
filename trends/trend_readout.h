// The plot's cursor: every series read at one instant. Samples are the controller's values at
// the ticks, so the cursor shows the sample nearest in time (the earlier of two as near), not
// a value interpolated between ticks that the controller never held.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "trends/trend_set.h"

namespace zel {

struct TrendReading {
    qint64 msecs;  // when the sample read was taken
    int32_t value;
};

// One reading a series, in the set's order; none for a series without samples.
std::vector<std::optional<TrendReading>> readAt(const std::vector<TrendSeries>& series,
                                                qint64 msecs);

}  // namespace zel
