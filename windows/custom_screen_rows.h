// One row of a custom screen: what it watches and the caption it shows.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace zel {

struct CustomRow { QString label; int16_t kind = 0; int32_t number = 0; };
using CustomRows = std::array<CustomRow, 16>;

}  // namespace zel
