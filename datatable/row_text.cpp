#include "datatable/row_text.h"

#include "common/key_codes.h"
#include "common/number_text.h"

namespace zel {

namespace {

bool printable(int32_t value) {
    return value >= 32 && value <= 126;
}

}  // namespace

QString RowToText(const DataTable& table, int32_t row) {
    const int32_t columns = table.columns();
    QString text(columns + 1, u' ');
    for (int32_t k = 1; k <= columns; ++k) {
        const int32_t value = table.value(row, k);
        text[k - 1] = printable(value) ? QChar(static_cast<char16_t>(value)) : QChar(kMiddleDot);
    }
    return text;
}

void TextToRow(DataTable& table, int32_t row, const QString& text) {
    const int32_t columns = table.columns();
    for (int32_t k = 1; k <= columns && k <= text.size(); ++k) {
        const QChar ch = text[k - 1];
        if (ch != QChar(kMiddleDot)) table.setValue(row, k, ch.unicode());
    }
}

bool cellKeyAccepted(QChar key) {
    return isAsciiDigit(key) || key == QChar(kBackspaceKey);
}

bool applyCellText(DataTable& table, int32_t row, int32_t column, const QString& text) {
    const double value = val(text);
    if (value < 0 || value > kCellMaximum) return false;
    table.setValue(row, column, roundToInt32(value));
    return true;
}

}  // namespace zel
