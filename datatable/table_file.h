// The data table file (*.tab): a header naming the size, then the rows between braces, every
// line ended by CR LF:
//
//   data_table[2][3] =
//   {
//          1       2        3
//      65535       0       40
//   }
//
// A value is its decimal text with a leading blank (a "-" when negative), right-aligned in a
// field of 8 characters; field 1 starts at column 1 and field k at column 9 x (k - 1), so 9,
// 18, 27, ... A value too wide for its field pushes the rest of the line along, still a blank
// apart.
//
// The reader goes by whitespace only (blanks and tabs; LF line ends read too). After the header,
// line n fills row n - 1, so the "{" line stands where row 0 would be. Its fields are whole
// numbers in the 32-bit range, stored as written without a range check into columns 1, 2, ...;
// a field that is anything else (the braces among them) ends the reading of its line, keeping
// the fields before it; fields past the last column and lines past the last row are dropped,
// and cells no line reaches are 0. Only the header can be refused: none at all, more than 256
// columns (the most the library's row buffers hold) or more than 65535 rows. A refused file
// leaves the table as it was.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <cstdint>

#include "datatable/data_table.h"

namespace zel {

inline constexpr int32_t kMaxTableRows = 65535;
// Reads a table file into `table`'s size and values; its other fields stay. On a refused file
// returns false with `error` naming `fileName` and the line, and leaves `table` as it was.
bool readTable(QByteArrayView bytes, const QString& fileName, DataTable& table, QString& error);
bool readTable(QIODevice& device, const QString& fileName, DataTable& table, QString& error);

// The file of `table` in the layout above.
QByteArray writeTable(const DataTable& table);

// The same for the file at `path`.
bool ReadTableFile(const QString& path, DataTable& table, QString& error);
// Replaces the file at `path` through a temporary file in its folder, so a failed save leaves
// the old file whole. False with `error` set when anything fails.
bool WriteTableFile(const QString& path, const DataTable& table, QString& error);

}  // namespace zel
