// The controller's resource counts as read at connection time, kept as 16-bit values.
#pragma once

#include <array>
#include <cstdint>

namespace zel {

class IOCounts {
public:
    // The seven counts of ZlGetIoCount, in the library's order.
    void setMain(const std::array<int32_t, 7>& counts);
    // The four counts of ZlGetMiscIoCount, in the library's order.
    void setMisc(const std::array<int32_t, 4>& counts);
    void clear() { values_.fill(0); }

    int16_t FlagCount() const { return values_[0]; }
    int16_t InputCount() const { return values_[1]; }
    int16_t OutputCount() const { return values_[2]; }
    int16_t StepperCount() const { return values_[3]; }
    int16_t ServoCount() const { return values_[4]; }
    int16_t AnalogInCount() const { return values_[5]; }
    int16_t AnalogOutCount() const { return values_[6]; }
    int16_t PrototypeCount() const { return values_[7]; }
    int16_t HsCounterCount() const { return values_[8]; }
    int16_t ThumbwheelCount() const { return values_[9]; }
    int16_t DisplayCount() const { return values_[10]; }

    // All eleven in order: the seven main counts, then the four misc ones.
    const std::array<int16_t, 11>& all() const { return values_; }

private:
    std::array<int16_t, 11> values_{};
};

}  // namespace zel
