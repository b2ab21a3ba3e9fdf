// The data table as the monitor holds it: the one copy that the editor's grid, the transfers,
// the table files and the monitoring all work on.
#pragma once

#include <QString>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace zel {

// The library's row buffers hold at most this many columns.
inline constexpr int32_t kMaxTableColumns = 256;

struct DataTable {
    int32_t TableRows = 0;      // R; rows are numbered 1..R
    int32_t TableColCount = 0;  // C + 1 for C data columns; 0 while no table has been read
    QString TableFileName;      // the current table file, empty for none
    bool TableMonitoring = false;
    int16_t TableMonStartRow = 1;
    int16_t TableMonEndRow = 1;
    int16_t TableMonInterval = 2000;  // milliseconds

    int32_t columns() const { return TableColCount > 0 ? TableColCount - 1 : 0; }
    // The value of column 1..C of row 1..R, each in 0..65535.
    int32_t value(int32_t row, int32_t column) const {
        return values_[index(row, column)];
    }
    void setValue(int32_t row, int32_t column, int32_t value) {
        values_[index(row, column)] = value;
    }
    // Changes the size keeping every value whose row and column exist in both; new cells are 0.
    void resizeKeeping(int32_t rows, int32_t columns) {
        DataTable resized;
        resized.resize(rows, columns);
        for (int32_t r = 1; r <= std::min(rows, TableRows); ++r)
            for (int32_t c = 1; c <= std::min(columns, this->columns()); ++c)
                resized.setValue(r, c, value(r, c));
        TableRows = rows;
        TableColCount = resized.TableColCount;
        values_ = std::move(resized.values_);
    }
    // Re-creates the table empty (all 0) at R rows and C data columns.
    void resize(int32_t rows, int32_t columns) {
        TableRows = rows;
        TableColCount = columns > 0 ? columns + 1 : 0;
        values_.assign(static_cast<size_t>(rows) * static_cast<size_t>(columns), 0);
    }

private:
    size_t index(int32_t row, int32_t column) const {
        return static_cast<size_t>(row - 1) * static_cast<size_t>(columns()) +
               static_cast<size_t>(column - 1);
    }
    std::vector<int32_t> values_;
};

}  // namespace zel
