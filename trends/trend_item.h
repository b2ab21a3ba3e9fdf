// What a trended value is: where the controller keeps it and the name it goes by in the plot
// and in a log's header.
#pragma once

#include <QString>
#include <cstdint>

namespace zel {

struct TrendSource {
    enum class Kind { Register, Bit, TableCell };
    Kind kind = Kind::Register;
    int32_t number = 0;  // the register, the register holding the bit, or the table row
    int32_t index = 0;   // the bit (0 lowest) or the table column; 0 for a register

    static TrendSource reg(int32_t number) { return {Kind::Register, number, 0}; }
    static TrendSource bit(int32_t word, int32_t bit) { return {Kind::Bit, word, bit}; }
    static TrendSource tableCell(int32_t row, int32_t column) {
        return {Kind::TableCell, row, column};
    }
    bool operator==(const TrendSource&) const = default;
};

struct TrendItem {
    QString name;
    TrendSource source;
};

}  // namespace zel
