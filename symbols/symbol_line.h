// The line scanner of symbol files. A line holds four fields: kind code, resource number,
// value and name. Fields are separated by runs of blanks, tabs and commas; a carriage return
// counts as a blank, so files with CRLF line ends read the same. A field that starts with a
// double quote runs to the next one, so a quoted name may hold separators.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QVarLengthArray>

#include <cstdint>

namespace zel::symbols {

inline constexpr qsizetype kCodeLength = 20;  // the "Code" field's size
inline constexpr qsizetype kNameLength = 40;  // the "Name" field's size

// One row of the Symbols table; texts in UTF-8.
struct SymbolRecord {
    QByteArray code;  // the numeric value of the kind code in decimal
    int32_t number = 0;
    int32_t value = 0;
    QByteArray name;
};

using LineFields = QVarLengthArray<QByteArrayView, 4>;

// At most `maxFields` fields of the line, quotes removed.
LineFields splitFields(QByteArrayView line, qsizetype maxFields = 4);

enum class LineKind {
    Symbol,  // a record to store
    Blank,   // nothing but separators
    NoName,  // fewer than four fields, or an empty name: nothing to show, so not stored
};

struct ScannedLine {
    LineKind kind = LineKind::Blank;
    SymbolRecord record;
    bool nameCut = false;  // the name was longer than kNameLength characters
};

// A numeric field is worth its leading number (sign, digits, fraction, exponent), 0 without
// one; number and value are rounded half to even and clamped to 32 bits. The name is read as
// UTF-8, or as Latin-1 when it is not valid UTF-8, and cut to kNameLength characters.
ScannedLine scanSymbolLine(QByteArrayView line);
// The same into `out`, whose storage is reused from line to line; the record is left as it was
// for a line that is not a Symbol.
void scanSymbolLine(QByteArrayView line, ScannedLine& out);

}  // namespace zel::symbols
