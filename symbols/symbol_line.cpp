#include "symbols/symbol_line.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <iterator>

#include "common/number_text.h"

namespace zel::symbols {
namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == '\r';
}

// The common case, a field of plain digits, without building a QString.
bool plainInteger(QByteArrayView field, int64_t& out) {
    const bool negative = !field.isEmpty() && field.front() == '-';
    const QByteArrayView digits = field.sliced(negative || field.startsWith('+') ? 1 : 0);
    if (digits.isEmpty() || digits.size() > 18) return false;
    int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    out = negative ? -value : value;
    return true;
}

double fieldValue(QByteArrayView field) {
    int64_t integer = 0;
    if (plainInteger(field, integer)) return static_cast<double>(integer);
    return val(QString::fromLatin1(field));
}

// Keeps the target's storage, so scanning line after line into one record allocates nothing.
void setText(QByteArray& target, QByteArrayView text) {
    target.resize(text.size());
    std::copy(text.begin(), text.end(), target.data());
}

void setCode(QByteArray& code, QByteArrayView field) {
    int64_t integer = 0;
    if (plainInteger(field, integer)) {
        char digits[24];
        const auto end = std::to_chars(std::begin(digits), std::end(digits), integer).ptr;
        setText(code, QByteArrayView(digits, end - digits));
    } else {
        code = trimBlanks(strNumber(val(QString::fromLatin1(field)))).toLatin1().left(kCodeLength);
    }
}

// The first `count` characters; a surrogate pair is one character.
QString leftCharacters(const QString& text, qsizetype count) {
    qsizetype end = 0;
    for (qsizetype chars = 0; end < text.size() && chars < count; ++chars)
        end += (text[end].isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
    return text.left(end);
}

void setName(QByteArray& name, QByteArrayView field, bool& cut) {
    if (std::all_of(field.begin(), field.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        cut = field.size() > kNameLength;
        setText(name, field.first(std::min(field.size(), kNameLength)));
        return;
    }
    // Stateless: a sequence cut off at the end of the name is an error, not input held back.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(field);
    if (utf8.hasError()) text = QString::fromLatin1(field);
    const QString kept = leftCharacters(text, kNameLength);
    cut = kept.size() < text.size();
    name = kept.toUtf8();
}

}  // namespace

LineFields splitFields(QByteArrayView line, qsizetype maxFields) {
    LineFields fields;
    qsizetype i = 0;
    while (fields.size() < maxFields) {
        while (i < line.size() && isSeparator(line[i])) ++i;
        if (i >= line.size()) break;
        if (line[i] == '"') {
            const qsizetype close = line.indexOf('"', i + 1);
            const qsizetype end = close < 0 ? line.size() : close;
            fields.append(line.sliced(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        const qsizetype start = i;
        while (i < line.size() && !isSeparator(line[i])) ++i;
        fields.append(line.sliced(start, i - start));
    }
    return fields;
}

void scanSymbolLine(QByteArrayView line, ScannedLine& out) {
    const LineFields fields = splitFields(line);
    out.nameCut = false;
    if (fields.isEmpty() || fields.size() < 4 || fields[3].isEmpty()) {
        out.kind = fields.isEmpty() ? LineKind::Blank : LineKind::NoName;
        return;
    }
    out.kind = LineKind::Symbol;
    setCode(out.record.code, fields[0]);
    out.record.number = roundToInt32(fieldValue(fields[1]));
    out.record.value = roundToInt32(fieldValue(fields[2]));
    setName(out.record.name, fields[3], out.nameCut);
}

ScannedLine scanSymbolLine(QByteArrayView line) {
    ScannedLine out;
    scanSymbolLine(line, out);
    return out;
}

}  // namespace zel::symbols
