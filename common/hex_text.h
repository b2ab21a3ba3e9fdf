// Hexadecimal views of 32-bit register values.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace zel {

// Upper-case digits, no prefix, no leading zeros; a negative value as its 8-digit two's
// complement (-1 gives FFFFFFFF).
QString hexText(int32_t value);

// 1 to 8 hexadecimal digits, blanks around them allowed; FFFFFFFF reads as -1. Anything else
// gives no value.
std::optional<int32_t> hexValue(const QString& text);

}  // namespace zel
