#include "common/hex_text.h"

#include <algorithm>

#include "common/number_text.h"

namespace zel {
namespace {

bool isHexDigit(QChar c) {
    return isAsciiDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

}  // namespace

QString hexText(int32_t value) {
    return QString::number(static_cast<uint32_t>(value), 16).toUpper();
}

std::optional<int32_t> hexValue(const QString& text) {
    const QString digits = trimBlanks(text);
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    // Digits only: the conversion below would also take a sign or a "0x" prefix.
    if (!std::all_of(digits.begin(), digits.end(), isHexDigit)) return std::nullopt;
    bool ok = false;
    const uint32_t value = digits.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace zel
