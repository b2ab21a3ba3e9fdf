// The controller's data table: rows of 16-bit values.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "result.h"

namespace zel::sim {

class DataTable {
public:
    DataTable() = default;
    DataTable(int rows, int columns);

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    // Columns first..last (1-based, inclusive) of a 1-based row.
    Result<std::vector<uint16_t>> read(int row, int first, int last) const;
    ErrorCode write(int row, int first, std::span<const uint16_t> values);
    // The error a read or write of that range gets, or ZL_OK.
    ErrorCode check(int row, int first, int last) const;

private:
    int rows_ = 0;
    int columns_ = 0;
    std::vector<uint16_t> cells_;
};

}  // namespace zel::sim
