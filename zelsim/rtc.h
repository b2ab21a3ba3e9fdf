// The controller's real-time clock: the host's local time plus an offset that writes adjust.
#pragma once

#include <cstdint>
#include <ctime>

#include "result.h"

namespace zel::sim {

// Clock fields in register order 13014..13020.
enum class ClockField { Second, Minute, Hour, Day, Month, Year, DayOfWeek };

class Rtc {
public:
    // hostSeconds: the host's local time as seconds since 1970-01-01 00:00 (local wall time).
    int32_t read(ClockField field, int64_t hostSeconds) const;
    // Without the latch a field write takes effect at once; with it, writes collect until the
    // latch is released and then take effect together.
    ErrorCode write(ClockField field, int32_t value, int64_t hostSeconds);
    int32_t latch() const { return latched_ ? 1 : 0; }
    ErrorCode setLatch(int32_t value, int64_t hostSeconds);

private:
    std::tm fields(int64_t hostSeconds) const;
    int dayOfWeek(const std::tm& t) const;
    void commit(const std::tm& t, int64_t hostSeconds);

    int64_t offset_ = 0;
    int dowShift_ = 0;  // the day of week is its own counter, as on a clock chip
    bool latched_ = false;
    std::tm staged_{};
    int stagedDow_ = 0;
};

// The host's current local wall time in seconds since 1970-01-01 00:00.
int64_t hostLocalSeconds();

}  // namespace zel::sim
