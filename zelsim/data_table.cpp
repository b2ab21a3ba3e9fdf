#include "data_table.h"

namespace zel::sim {

DataTable::DataTable(int rows, int columns)
    : rows_(rows), columns_(columns), cells_(static_cast<size_t>(rows) * columns) {}

ErrorCode DataTable::check(int row, int first, int last) const {
    if (rows_ == 0 || columns_ == 0) return ZL_ERR_NO_DATA_TABLE;
    if (row < 1 || row > rows_ || first < 1 || last < first || last > columns_)
        return ZL_ERR_BAD_TABLE_ROW;
    return ZL_OK;
}

Result<std::vector<uint16_t>> DataTable::read(int row, int first, int last) const {
    if (ErrorCode e = check(row, first, last)) return failure<std::vector<uint16_t>>(e);
    const auto begin =
        cells_.begin() + static_cast<std::ptrdiff_t>((row - 1) * columns_ + first - 1);
    return success(std::vector<uint16_t>(begin, begin + (last - first + 1)));
}

ErrorCode DataTable::write(int row, int first, std::span<const uint16_t> values) {
    const int last = first + static_cast<int>(values.size()) - 1;
    if (ErrorCode e = check(row, first, last)) return e;
    const size_t at = static_cast<size_t>((row - 1) * columns_ + first - 1);
    for (size_t i = 0; i < values.size(); ++i) cells_[at + i] = values[i];
    return ZL_OK;
}

}  // namespace zel::sim
