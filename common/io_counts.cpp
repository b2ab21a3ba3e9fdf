#include "common/io_counts.h"

#include <algorithm>
#include <limits>

namespace zel {
namespace {

// A count beyond 16 bits is nonsense from the controller; keep it at the nearest 16-bit value
// rather than letting it wrap into a negative count.
int16_t toCount(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

}  // namespace

void IOCounts::setMain(const std::array<int32_t, 7>& counts) {
    std::transform(counts.begin(), counts.end(), values_.begin(), toCount);
}

void IOCounts::setMisc(const std::array<int32_t, 4>& counts) {
    std::transform(counts.begin(), counts.end(), values_.begin() + 7, toCount);
}

}  // namespace zel
