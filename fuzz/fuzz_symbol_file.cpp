// The symbol file reader: any bytes, read line by line and scanned into records.
#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "symbols/line_reader.h"
#include "symbols/symbol_line.h"

using namespace zel::symbols;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    LineReader reader(device);
    ScannedLine scanned;
    QByteArrayView line;
    LineReader::Status status;
    while ((status = reader.next(line)) != LineReader::Status::End &&
           status != LineReader::Status::Error) {
        if (status == LineReader::Status::Unreadable) continue;
        scanSymbolLine(line, scanned);
        if (scanned.kind == LineKind::Symbol && scanned.record.name.isEmpty()) __builtin_trap();
    }
    return 0;
}
