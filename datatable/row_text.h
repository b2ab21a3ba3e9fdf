// A data table row as text (the grid's Message column) and the rule of a typed cell value.
#pragma once

#include <QChar>
#include <QString>
#include <cstdint>

#include "datatable/data_table.h"

namespace zel {

// Stands for a value that is no printable character, and in a typed text for "leave as is".
inline constexpr char16_t kMiddleDot = 183;
// A cell holds 0..65535: the controller's 16 bits, read as unsigned.
inline constexpr int32_t kCellMaximum = 65535;

// C + 1 characters: one per column, the value's character when it is 32..126 and the middle
// dot otherwise, then a blank.
QString RowToText(const DataTable& table, int32_t row);

// Writes a Message text back: column k takes the code of character k unless that is the middle
// dot; a text too short leaves the columns past its end as they are.
void TextToRow(DataTable& table, int32_t row, const QString& text);

// While a cell is edited only the digits and Backspace get in.
bool cellKeyAccepted(QChar key);

// A value cell left with `text`: stored when it reads as 0..65535 (true), otherwise the old
// value stays (false).
bool applyCellText(DataTable& table, int32_t row, int32_t column, const QString& text);

}  // namespace zel
