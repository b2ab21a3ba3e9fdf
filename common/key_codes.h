// Keys as the window models receive them: typed characters by their code, Enter as 13 (a
// carriage return) and Backspace as 8, whatever the toolkit calls the key.
#pragma once

namespace zel {

inline constexpr char16_t kEnterKey = 13;
inline constexpr char16_t kBackspaceKey = 8;

}  // namespace zel
