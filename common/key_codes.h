// Keys as the window models receive them: typed characters by their code, Enter as 13 (a
// carriage return), whatever the toolkit calls the key.
#pragma once

namespace zel {

inline constexpr char16_t kEnterKey = 13;

}  // namespace zel
