// The register value file reader: any bytes either read as entries or stop at a line the
// reader names, and every entry read writes out to a line that reads back the same.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "transfer/register_file.h"

using namespace zel;

namespace {

// Writes the entry out as a file of its own and reads it back.
template <typename Entry>
void checkRoundTrip(const Entry& entry, QString valueText) {
    RegisterFileReader again(registerFileHeader() +
                             registerFileLine(registerTextForm(entry.number), valueText));
    if (!again.skipHeader()) __builtin_trap();
    const auto back = [&again] {
        if constexpr (std::is_same_v<Entry, RegisterFileReader::IntegerEntry>)
            return again.readInteger();
        else
            return again.readFloat();
    }();
    if (!back || back->number != entry.number || !again.atEnd()) __builtin_trap();
    // The float form keeps 15 significant digits, so only integers are compared exactly.
    if constexpr (std::is_same_v<Entry, RegisterFileReader::IntegerEntry>)
        if (back->value != entry.value) __builtin_trap();
    if (back->value.has_value() != entry.value.has_value()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks which entries are read as V-registers, as a download of a model 5
    // file switches to them part way.
    const uint8_t floatMask = data[0];
    RegisterFileReader reader(
        QByteArray(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1)));
    if (!reader.skipHeader()) {
        if (reader.error().isEmpty()) __builtin_trap();
        return 0;
    }
    for (int i = 0; !reader.atEnd(); ++i) {
        if (floatMask & (1u << (i % 8))) {
            const auto entry = reader.readFloat();
            if (!entry) break;
            checkRoundTrip(*entry, entry->value ? registerFloatForm(*entry->value)
                                                : QString::fromLatin1(kUnreadValue));
        } else {
            const auto entry = reader.readInteger();
            if (!entry) break;
            checkRoundTrip(*entry, entry->value ? registerIntegerForm(*entry->value)
                                                : QString::fromLatin1(kUnreadValue));
        }
    }
    if (!reader.atEnd() && reader.error().isEmpty()) __builtin_trap();
    return 0;
}
