// The data table file reader: any bytes either read as a table or are refused with the
// caller's table untouched, and a table that reads writes out to a file that reads back the same.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "datatable/table_file.h"

using namespace zel;

namespace {

bool sameCells(const DataTable& a, const DataTable& b) {
    if (a.TableRows != b.TableRows || a.TableColCount != b.TableColCount) return false;
    for (int32_t row = 1; row <= a.TableRows; ++row)
        for (int32_t column = 1; column <= a.columns(); ++column)
            if (a.value(row, column) != b.value(row, column)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString name = QStringLiteral("fuzz.tab");
    DataTable untouched;
    untouched.resize(2, 3);
    untouched.setValue(2, 3, 7);
    untouched.TableFileName = QStringLiteral("untouched.tab");
    DataTable first = untouched;
    QString error;
    if (!readTable(bytes, name, first, error)) {
        if (error.isEmpty() || !sameCells(first, untouched)) __builtin_trap();
        return 0;
    }
    if (first.TableFileName != untouched.TableFileName) __builtin_trap();
    // Writing out the largest tables takes seconds under the sanitizers; small ones reach every
    // branch of the writer.
    if (int64_t{first.TableRows} * first.columns() > 4096) return 0;
    DataTable again = untouched;
    if (!readTable(writeTable(first), name, again, error) || !sameCells(again, first))
        __builtin_trap();
    return 0;
}
