// The custom screen definition reader: any bytes either read as 16 rows or are refused with the
// caller's rows untouched, and rows that read write out to a file that reads back the same.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "windows/custom_screen_file.h"

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString name = QStringLiteral("fuzz.CFG");
    CustomRows untouched;
    untouched.fill(CustomRow{QStringLiteral("untouched"), 6, 7});
    CustomRows first = untouched;
    QString error;
    if (!readCustomRows(bytes, name, first, error)) {
        if (error.isEmpty() || first != untouched) __builtin_trap();
        return 0;
    }
    CustomRows again = untouched;
    if (!readCustomRows(writeCustomRows(first), name, again, error) || again != first)
        __builtin_trap();
    return 0;
}
