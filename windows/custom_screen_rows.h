// The rows of a custom screen: sixteen user-chosen resources of mixed kinds.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zel {

struct CustomRow {
    QString label;     // a symbol name, the kind's text and the number, or "Not Selected"
    int16_t kind = 0;  // 0 "Not Selected" .. 12 "Servo Fwdl Inp"
    int32_t number = 1;

    friend bool operator==(const CustomRow&, const CustomRow&) = default;
};

using CustomRows = std::array<CustomRow, 16>;

}  // namespace zel
