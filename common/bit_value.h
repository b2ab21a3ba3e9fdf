// Single-precision bit weights used to test bits of 32-bit register values.
#pragma once

#include <array>
#include <cstdint>

namespace zel {

// Entry n is 2 to the power n for n = 0..30; entry 31 is -2147483648, the weight of the sign bit.
inline constexpr std::array<float, 32> BitValue = [] {
    std::array<float, 32> weights{};
    float weight = 1.0f;
    for (int n = 0; n < 31; ++n, weight *= 2.0f) weights[n] = weight;
    weights[31] = -2147483648.0f;
    return weights;
}();

// True when bit n (0 = least significant) of value is set.
inline constexpr bool bitIsSet(int32_t value, int n) {
    return (static_cast<uint32_t>(value) >> n) & 1u;
}

}  // namespace zel
