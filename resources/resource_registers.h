// Where the resource windows find digital, analog and servo values among the controller's
// registers, how far each kind's numbers run and the values a write may give. zelctl names
// resources by the same rules. Flags are packed; see flag_word.h.
#pragma once

#include <cstdint>

namespace zel {

// Output n is register 1000 + n and input n register 2000 + n; 1 is on, 0 off.
inline constexpr int32_t kOutputBase = 1000;
inline constexpr int32_t kInputBase = 2000;
inline constexpr int32_t kLastDigital = 1000;

// Analog output channel n is register 8000 + n, input channel n 8500 + n.
inline constexpr int32_t kAnalogOutBase = 8000;
inline constexpr int32_t kAnalogInBase = 8500;
inline constexpr int32_t kLastAnalogChannel = 256;
// An analog output takes values from -20000 to 20000.
inline constexpr int32_t kAnalogOutputLimit = 20000;

// Servo n's position is register 14000 + n, its position error 14100 + n; the servo windows
// show servos 1 to 32.
inline constexpr int32_t kServoPositionBase = 14000;
inline constexpr int32_t kServoErrorBase = 14100;
inline constexpr int32_t kLastServo = 32;

}  // namespace zel
