#include "windows/custom_screen_file.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <optional>

#include "common/number_text.h"
#include "settings/settings_file.h"

namespace zel {
namespace {

constexpr qsizetype kRowCount = std::tuple_size_v<CustomRows>;
constexpr int kLastKind = 12;
constexpr int32_t kLastNumber = 65535;
constexpr QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

bool isSeparator(char c) {
    return c == ' ' || c == ',';
}

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// Labels the monitor wrote are UTF-8; older files were written in the Windows code page, of
// which Latin-1 keeps the letters.
QString decodeLabel(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

std::optional<int32_t> parseWhole(QByteArrayView text, int32_t first, int32_t last) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end || value < first || value > last) return std::nullopt;
    return value;
}

QString shown(QByteArrayView field) {
    return QString::fromLatin1(field.first(std::min<qsizetype>(field.size(), 20)));
}

// One line without its line end: the quoted label, then the kind and the number. Returns what
// is wrong, or nothing when the line is a row.
std::optional<QString> parseRow(QByteArrayView line, CustomRow& row) {
    if (std::any_of(line.begin(), line.end(), isControl))
        return QStringLiteral("it holds binary bytes, not text");
    qsizetype at = 0;
    while (at < line.size() && line[at] == ' ') ++at;
    if (at == line.size() || line[at] != '"')
        return QStringLiteral("the label does not start with a double quote");
    const qsizetype close = line.indexOf('"', at + 1);
    if (close < 0) return QStringLiteral("the label has no closing double quote");
    if (close + 1 < line.size() && !isSeparator(line[close + 1]))
        return QStringLiteral("the label holds a double quote");

    QByteArrayView fields[2];
    qsizetype count = 0;
    qsizetype next = close + 1;
    while (true) {
        while (next < line.size() && isSeparator(line[next])) ++next;
        if (next == line.size()) break;
        if (count == 2) return QStringLiteral("there is text after the number");
        const qsizetype start = next;
        while (next < line.size() && !isSeparator(line[next])) ++next;
        fields[count++] = line.sliced(start, next - start);
    }
    if (count < 2) return QStringLiteral("the kind or the number is missing");

    const std::optional<int32_t> kind = parseWhole(fields[0], 0, kLastKind);
    if (!kind) return QStringLiteral("the kind \"%1\" is not one of 0 to 12").arg(shown(fields[0]));
    const std::optional<int32_t> number = parseWhole(fields[1], 1, kLastNumber);
    if (!number)
        return QStringLiteral("the number \"%1\" is not one of 1 to 65535").arg(shown(fields[1]));
    row.label = decodeLabel(line.sliced(at + 1, close - at - 1));
    row.kind = static_cast<int16_t>(*kind);
    row.number = *number;
    return std::nullopt;
}

QString damaged(const QString& fileName, qsizetype line, const QString& what) {
    return QStringLiteral("Cannot read custom screen file \"%1\", line %2: %3.")
        .arg(fileName)
        .arg(line)
        .arg(what);
}

// What a label can hold and still read back: no double quote, no control character.
QString writableLabel(QString label) {
    for (QChar& c : label) {
        if (c == u'"')
            c = u'\'';
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    return label;
}

}  // namespace

bool readCustomRows(QByteArrayView bytes, const QString& fileName, CustomRows& rows,
                    QString& error) {
    if (bytes.size() > kMaxCustomFileBytes) {
        error = QStringLiteral("Cannot read custom screen file \"%1\": it is larger than 64 KiB.")
                    .arg(fileName);
        return false;
    }
    if (bytes.startsWith(kUtf8Mark)) bytes = bytes.sliced(kUtf8Mark.size());
    CustomRows read;
    qsizetype line = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        ++line;
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            error = damaged(fileName, line,
                            QStringLiteral("it has no line end; the file was cut short"));
            return false;
        }
        QByteArrayView text = bytes.sliced(start, end - start);
        if (text.endsWith('\r')) text.chop(1);
        start = end + 1;
        if (line > kRowCount) {
            if (text.isEmpty()) continue;
            error = damaged(fileName, line, QStringLiteral("there is text after the 16 rows"));
            return false;
        }
        if (const std::optional<QString> what = parseRow(text, read[line - 1])) {
            error = damaged(fileName, line, *what);
            return false;
        }
    }
    if (line < kRowCount) {
        error = damaged(fileName, line + 1,
                        QStringLiteral("the file ends there; a definition has 16 lines"));
        return false;
    }
    rows = std::move(read);
    return true;
}

bool readCustomRows(QIODevice& device, const QString& fileName, CustomRows& rows, QString& error) {
    if (!device.isReadable()) {
        error = QStringLiteral("Cannot read custom screen file \"%1\": %2.")
                    .arg(fileName, device.errorString());
        return false;
    }
    return readCustomRows(QByteArrayView(device.read(kMaxCustomFileBytes + 1)), fileName, rows,
                          error);
}

QByteArray writeCustomRows(const CustomRows& rows) {
    QByteArray bytes;
    for (const CustomRow& row : rows) {
        const QString line = padToPrintZone(u'"' + writableLabel(row.label) + u'"') +
                             padToPrintZone(strNumber(int64_t{row.kind}) + u' ') +
                             strNumber(row.number) + u' ';
        bytes += line.toUtf8() + "\r\n";
    }
    return bytes;
}

bool ReadCustomFile(const QString& path, CustomRows& rows, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read custom screen file \"%1\": %2.")
                    .arg(path, file.errorString());
        return false;
    }
    return readCustomRows(file, path, rows, error);
}

bool WriteCustomFile(const QString& path, const CustomRows& rows, QString& error) {
    QString why;
    if (settings::writeFileAtomically(path, writeCustomRows(rows), why)) return true;
    error = QStringLiteral("Cannot save custom screen file \"%1\": %2.").arg(path, why);
    return false;
}

std::optional<QString> CustomScreenFileStore::read(const QString& path, CustomRows& rows) {
    QString error;
    if (ReadCustomFile(path, rows, error)) return std::nullopt;
    return error;
}

std::optional<QString> CustomScreenFileStore::write(const QString& path, const CustomRows& rows) {
    QString error;
    if (WriteCustomFile(path, rows, error)) return std::nullopt;
    return error;
}

}  // namespace zel
