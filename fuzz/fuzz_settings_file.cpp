// The settings file reader: any bytes either read as settings or are reported as damaged, and
// what reads back writes out to the same settings again.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "settings/settings_format.h"

using namespace zel::settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReadResult first = readSettings(bytes);
    if (first.error) return 0;
    const ReadResult again = readSettings(writeSettings(first.data));
    if (again.error || again.data != first.data) __builtin_trap();
    return 0;
}
