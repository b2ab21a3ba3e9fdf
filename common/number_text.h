// Number and text conversions shared by every window.
#pragma once

#include <QString>
#include <cstdint>

namespace zel {

// Decimal text with a leading blank for a non-negative number, a "-" otherwise.
QString strNumber(int64_t value);
inline QString strNumber(int32_t value) {
    return strNumber(int64_t{value});
}
// Up to 15 significant digits, no zero before the decimal point (" .5"), exponent form
// (" 1E+15", " 1E-05") outside 1E-04 .. 1E+15.
QString strNumber(double value);

// The value of the number a text starts with: leading blanks, a sign, digits, an optional
// fraction and an optional exponent. A text that starts with no number is worth 0.
double val(const QString& text);

// Nearest integer, halves going to the even neighbour.
double roundHalfEven(double value);
// Clamps to the 32-bit range; NaN gives 0.
int32_t clampToInt32(double value);
// What a number field stores: the value rounded half to even and clamped to 32 bits.
int32_t roundToInt32(double value);

// Text padded with blanks to the end of its 14-column print zone; a field always takes at
// least one zone, so the next field starts at column 15, 29, ...
QString padToPrintZone(const QString& text);
// The width of one print zone.
inline constexpr qsizetype kPrintZoneWidth = 14;

// The digits 0-9 only: other scripts' digits are not numbers in files, names or on the wire.
constexpr bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
// True when `text` is one or more of the digits 0-9 and nothing else.
bool isAsciiNumber(QStringView text);

// Text without leading and trailing blanks (spaces only, tabs are kept).
QString trimBlanks(const QString& text);

}  // namespace zel
