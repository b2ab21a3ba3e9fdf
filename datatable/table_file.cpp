#include "datatable/table_file.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>

#include "settings/settings_file.h"

namespace zel {
namespace {

constexpr QByteArrayView kHeaderStart("data_table[");
constexpr QByteArrayView kUtf8Mark("\xEF\xBB\xBF");
// The sizes come first in the header; the rest of a long first line is never needed.
constexpr qsizetype kHeaderKeep = 256;
constexpr qint64 kChunkBytes = 64 * 1024;
constexpr qsizetype kFieldWidth = 8;
// Past this a size is refused anyway; counting further could only overflow.
constexpr int64_t kCountCeiling = int64_t{1} << 40;
constexpr int64_t kMagnitudeCeiling = int64_t{1} << 31;
static_assert(int64_t{kMaxTableRows} * kMaxTableColumns * int64_t{sizeof(int32_t)} <=
                  int64_t{64} * 1024 * 1024,
              "the largest table the header allows fits in 64 MiB");

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QString refused(const QString& fileName, qsizetype line, const QString& what) {
    return QStringLiteral("Cannot read data table file \"%1\", line %2: %3.")
        .arg(fileName)
        .arg(line)
        .arg(what);
}

// A size in the header: blanks, then digits up to the first other character.
std::optional<int64_t> countAt(QByteArrayView text, qsizetype& at) {
    while (at < text.size() && text[at] == ' ') ++at;
    const qsizetype first = at;
    int64_t count = 0;
    for (; at < text.size() && isDigit(text[at]); ++at)
        count = std::min(count * 10 + (text[at] - '0'), kCountCeiling);
    if (at == first) return std::nullopt;
    return count;
}

// "data_table[" R "][" C "] =": R starts just after the first "[", C just after the next one.
std::optional<QString> parseHeader(QByteArrayView line, int32_t& rows, int32_t& columns) {
    if (line.startsWith(kUtf8Mark)) line = line.sliced(kUtf8Mark.size());
    const QString missing = QStringLiteral("there is no data_table[rows][columns] header");
    if (!line.startsWith(kHeaderStart)) return missing;
    qsizetype at = kHeaderStart.size();
    const std::optional<int64_t> r = countAt(line, at);
    if (!r) return missing;
    const qsizetype open = line.indexOf('[', at);
    if (open < 0) return missing;
    at = open + 1;
    const std::optional<int64_t> c = countAt(line, at);
    if (!c) return missing;
    if (*c > kMaxTableColumns) return QStringLiteral("the table has more than 256 columns");
    if (*r > kMaxTableRows) return QStringLiteral("the table has more than 65535 rows");
    rows = static_cast<int32_t>(*r);
    columns = static_cast<int32_t>(*c);
    return std::nullopt;
}

// Reads a file fed in pieces of any size, so a large file never sits in memory whole. The
// table is built aside and handed over only when the header was accepted.
class TableReader {
public:
    explicit TableReader(const QString& fileName) : fileName_(fileName) {}

    // False once the rest of the file cannot matter: the header was refused or every row read.
    bool feed(QByteArrayView bytes) {
        for (const char c : bytes) {
            if (c == '\n') {
                if (!endLine()) return false;
            } else if (line_ == 0) {
                if (header_.size() < kHeaderKeep) header_ += c;
            } else if (!lineDone_) {
                if (c == ' ' || c == '\t' || c == '\r')
                    endField();
                else
                    addToField(c);
            }
        }
        return true;
    }

    bool finish(DataTable& table, QString& error) {
        if (line_ == 0 && !refusal_)
            acceptHeader();
        else
            endField();
        if (refusal_) {
            error = *refusal_;
            return false;
        }
        const int32_t columns = read_.columns();
        table.resize(read_.TableRows, columns);
        for (int32_t row = 1; row <= read_.TableRows; ++row)
            for (int32_t column = 1; column <= columns; ++column)
                table.setValue(row, column, read_.value(row, column));
        return true;
    }

private:
    bool acceptHeader() {
        int32_t rows = 0;
        int32_t columns = 0;
        if (header_.endsWith('\r')) header_.chop(1);
        if (const std::optional<QString> what = parseHeader(header_, rows, columns)) {
            refusal_ = refused(fileName_, 1, *what);
            return false;
        }
        read_.resize(rows, columns);
        return true;
    }

    bool endLine() {
        if (line_ == 0) {
            if (!acceptHeader()) return false;
        } else {
            endField();
        }
        ++line_;
        field_ = 0;
        lineDone_ = false;
        return line_ - 1 <= read_.TableRows;
    }

    void addToField(char c) {
        if (!inField_) {
            inField_ = true;
            negative_ = c == '-';
            hasDigits_ = false;
            magnitude_ = 0;
            if (c == '-' || c == '+') return;
        }
        if (!isDigit(c)) {
            dropRestOfLine();
            return;
        }
        hasDigits_ = true;
        magnitude_ = magnitude_ * 10 + (c - '0');
        if (magnitude_ > kMagnitudeCeiling) dropRestOfLine();
    }

    void endField() {
        if (!inField_) return;
        inField_ = false;
        const int64_t value = negative_ ? -magnitude_ : magnitude_;
        if (!hasDigits_ || value > INT32_MAX) {
            lineDone_ = true;
            return;
        }
        ++field_;
        const qsizetype row = line_ - 1;
        if (row >= 1 && row <= read_.TableRows && field_ <= read_.columns())
            read_.setValue(static_cast<int32_t>(row), field_, static_cast<int32_t>(value));
    }

    void dropRestOfLine() {
        inField_ = false;
        lineDone_ = true;
    }

    const QString& fileName_;
    QByteArray header_;
    std::optional<QString> refusal_;
    DataTable read_;
    qsizetype line_ = 0;     // lines numbered from 0, the header
    int32_t field_ = 0;      // whole-number fields of this line so far
    bool lineDone_ = false;  // a field that was not a whole number ended this line
    bool inField_ = false;
    bool negative_ = false;
    bool hasDigits_ = false;
    int64_t magnitude_ = 0;
};

void appendRow(QByteArray& bytes, const DataTable& table, int32_t row) {
    const qsizetype lineStart = bytes.size();
    for (int32_t column = 1; column <= table.columns(); ++column) {
        const int32_t value = table.value(row, column);
        char text[16] = {' '};
        const std::to_chars_result written =
            std::to_chars(value < 0 ? text : text + 1, std::end(text), value);
        const qsizetype length = written.ptr - text;
        const qsizetype fieldStart = column == 1 ? 0 : 9 * qsizetype{column - 1} - 1;
        const qsizetype used = bytes.size() - lineStart;
        const qsizetype earliest = used + (column > 1 && text[0] != ' ' ? 1 : 0);
        const qsizetype at = std::max(fieldStart + kFieldWidth - length, earliest);
        bytes.append(at - used, ' ');
        bytes.append(text, length);
    }
    bytes += "\r\n";
}

}  // namespace

bool readTable(QByteArrayView bytes, const QString& fileName, DataTable& table, QString& error) {
    TableReader reader(fileName);
    reader.feed(bytes);
    return reader.finish(table, error);
}

bool readTable(QIODevice& device, const QString& fileName, DataTable& table, QString& error) {
    TableReader reader(fileName);
    QByteArray chunk(kChunkBytes, Qt::Uninitialized);
    while (true) {
        const qint64 got = device.read(chunk.data(), kChunkBytes);
        if (got < 0) {
            error = QStringLiteral("Cannot read data table file \"%1\": %2.")
                        .arg(fileName, device.errorString());
            return false;
        }
        if (got == 0 || !reader.feed(QByteArrayView(chunk.constData(), got))) break;
    }
    return reader.finish(table, error);
}

QByteArray writeTable(const DataTable& table) {
    const int32_t columns = table.columns();
    QByteArray bytes = "data_table[" + QByteArray::number(table.TableRows) + "][" +
                       QByteArray::number(columns) + "] =\r\n{\r\n";
    bytes.reserve(bytes.size() + qsizetype{table.TableRows} * (9 * qsizetype{columns} + 2) + 3);
    for (int32_t row = 1; row <= table.TableRows; ++row) appendRow(bytes, table, row);
    bytes += "}\r\n";
    return bytes;
}

bool ReadTableFile(const QString& path, DataTable& table, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read data table file \"%1\": %2.")
                    .arg(path, file.errorString());
        return false;
    }
    return readTable(file, path, table, error);
}

bool WriteTableFile(const QString& path, const DataTable& table, QString& error) {
    QString why;
    if (settings::writeFileAtomically(path, writeTable(table), why)) return true;
    error = QStringLiteral("Cannot save data table file \"%1\": %2.").arg(path, why);
    return false;
}

}  // namespace zel
