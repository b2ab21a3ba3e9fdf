#include "common/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace zel {
namespace {

bool isDigitAt(const QString& text, qsizetype i) {
    return i < text.size() && isAsciiDigit(text[i]);
}

qsizetype skipDigits(const QString& text, qsizetype i) {
    while (isDigitAt(text, i)) ++i;
    return i;
}

qsizetype skipSign(const QString& text, qsizetype i) {
    return (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ? i + 1 : i;
}

// End of an exponent part starting at i, or i when there is no complete one.
qsizetype exponentEnd(const QString& text, qsizetype i) {
    if (i >= text.size() || (text[i] != u'E' && text[i] != u'e')) return i;
    const qsizetype digits = skipSign(text, i + 1);
    const qsizetype end = skipDigits(text, digits);
    return end > digits ? end : i;
}

}  // namespace

bool isAsciiNumber(QStringView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

QString strNumber(int64_t value) {
    const QString digits = QString::number(value);
    return value >= 0 ? u' ' + digits : digits;
}

QString strNumber(double value) {
    if (value == 0.0) return QStringLiteral(" 0");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    QString text = QString::fromLatin1(buffer);
    if (text.startsWith(QLatin1String("0."))) text.remove(0, 1);
    if (text.startsWith(QLatin1String("-0."))) text.remove(1, 1);
    return value > 0 ? u' ' + text : text;
}

double val(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u' ' || text[start] == u'\t')) ++start;
    const qsizetype intStart = skipSign(text, start);
    const qsizetype intEnd = skipDigits(text, intStart);
    qsizetype digitCount = intEnd - intStart;
    qsizetype end = intEnd;
    if (end < text.size() && text[end] == u'.') {
        end = skipDigits(text, end + 1);
        digitCount += end - intEnd - 1;
    }
    if (digitCount == 0) return 0.0;
    end = exponentEnd(text, end);
    // Out-of-range exponents come back as infinity or zero, which is what the number means.
    return text.mid(start, end - start).toDouble();
}

double roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) return lower + 1.0;
    if (fraction < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

int32_t clampToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (value >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

int32_t roundToInt32(double value) {
    return clampToInt32(roundHalfEven(value));
}

QString padToPrintZone(const QString& text) {
    const qsizetype zones =
        std::max<qsizetype>(1, (text.size() + kPrintZoneWidth - 1) / kPrintZoneWidth);
    return text.leftJustified(zones * kPrintZoneWidth, u' ');
}

QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    return text.mid(first, last - first);
}

}  // namespace zel
