#include "transfer/register_file.h"

#include <QDir>
#include <QList>
#include <charconv>
#include <cmath>
#include <limits>

#include "common/number_text.h"

namespace zel {

QString registerTextForm(int32_t value) {
    return QString::number(value);
}

QString registerIntegerForm(int32_t value) {
    return strNumber(value) + u' ';
}

QString registerFloatForm(double value) {
    return strNumber(value) + u' ';
}

QByteArray registerFileHeader() {
    return registerFileLine(QStringLiteral("Reg#"), QStringLiteral("Value")) + "\r\n";
}

QByteArray registerFileLine(const QString& number, const QString& value) {
    return (padToPrintZone(number) + value).toLatin1() + "\r\n";
}

bool writtenInFull(QFile& file) {
    return file.flush() && file.error() == QFileDevice::NoError;
}

QString fileWriteFailure(const QString& phrase, const QFile& file) {
    return phrase + QStringLiteral(" Cannot write %1: %2")
                        .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
}

void appendRegisterFileLine(QByteArray& lines, int32_t number, int32_t value) {
    // Eleven characters at most, so a number always fits in its zone.
    char digits[12];
    const char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    const qsizetype length = end - digits;
    lines.append(digits, length);
    lines.append(kPrintZoneWidth - length, ' ');
    end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    lines.append(digits, end - digits);
    lines.append("\r\n", 2);
}

RegisterFileReader::RegisterFileReader(QByteArray bytes) : bytes_(std::move(bytes)) {}

bool RegisterFileReader::fail(const QString& why) {
    if (error_.isEmpty()) error_ = QStringLiteral("Line %1: %2").arg(line_).arg(why);
    return false;
}

bool RegisterFileReader::skipHeader() {
    for (int i = 0; i < 2; ++i) {
        if (pos_ >= bytes_.size()) {
            ++line_;
            return fail(QStringLiteral("the file ends before its first register."));
        }
        const qsizetype end = bytes_.indexOf('\n', pos_);
        pos_ = end < 0 ? bytes_.size() : end + 1;
        ++line_;
    }
    return true;
}

bool RegisterFileReader::atEnd() const {
    for (qsizetype i = pos_; i < bytes_.size(); ++i) {
        const char c = bytes_[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    }
    return true;
}

bool RegisterFileReader::nextFields(QByteArray& number, QByteArray& value) {
    if (!error_.isEmpty()) return false;
    ++line_;
    if (pos_ >= bytes_.size()) return fail(QStringLiteral("the file ends here."));
    qsizetype end = bytes_.indexOf('\n', pos_);
    if (end < 0) end = bytes_.size();
    const QByteArray text = bytes_.mid(pos_, end - pos_);
    pos_ = end + 1;
    const QList<QByteArray> fields = text.simplified().split(' ');
    if (fields.size() != 2 || fields[0].isEmpty())
        return fail(QStringLiteral("a register number and a value are expected."));
    number = fields[0];
    value = fields[1];
    return true;
}

namespace {

// Digits with an optional sign only: "1e3" or "12abc" are not register numbers.
std::optional<int32_t> integerField(const QByteArray& field) {
    const qsizetype start = (field.startsWith('-') || field.startsWith('+')) ? 1 : 0;
    if (start == field.size()) return std::nullopt;
    for (qsizetype i = start; i < field.size(); ++i)
        if (field[i] < '0' || field[i] > '9') return std::nullopt;
    bool ok = false;
    const qlonglong v = field.toLongLong(&ok);
    if (!ok || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(v);
}

}  // namespace

// The next line's register number, with its value field left in `value`.
std::optional<int32_t> RegisterFileReader::nextEntry(QByteArray& value) {
    QByteArray number;
    if (!nextFields(number, value)) return std::nullopt;
    const auto n = integerField(number);
    if (!n)
        fail(QStringLiteral("\"%1\" is not a register number.").arg(QString::fromLatin1(number)));
    return n;
}

std::optional<RegisterFileReader::IntegerEntry> RegisterFileReader::readInteger() {
    QByteArray value;
    const std::optional<int32_t> n = nextEntry(value);
    if (!n) return std::nullopt;
    IntegerEntry entry;
    entry.number = *n;
    if (value != kUnreadValue) {
        entry.value = integerField(value);
        if (!entry.value) {
            fail(QStringLiteral("\"%1\" is not a 32-bit value.").arg(QString::fromLatin1(value)));
            return std::nullopt;
        }
    }
    return entry;
}

std::optional<int32_t> RegisterFileReader::peekNumber() const {
    RegisterFileReader ahead(*this);
    QByteArray number, value;
    if (!ahead.nextFields(number, value)) return std::nullopt;
    return integerField(number);
}

std::optional<RegisterFileReader::FloatEntry> RegisterFileReader::readFloat() {
    QByteArray value;
    const std::optional<int32_t> n = nextEntry(value);
    if (!n) return std::nullopt;
    FloatEntry entry;
    entry.number = *n;
    if (value != kUnreadValue) {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            fail(QStringLiteral("\"%1\" is not a number.").arg(QString::fromLatin1(value)));
            return std::nullopt;
        }
        entry.value = v;
    }
    return entry;
}

bool isVRegisterOf(int32_t modelCode, int32_t number) {
    return modelCode == 5 && number >= 36101 && number <= 36800;
}

std::optional<QList<RegisterFileEntry>> readRegisterEntries(
    RegisterFileReader& reader, const std::function<bool(int32_t)>& isVRegister) {
    QList<RegisterFileEntry> entries;
    if (!reader.skipHeader()) return std::nullopt;
    while (!reader.atEnd()) {
        const std::optional<int32_t> number = reader.peekNumber();
        if (number && isVRegister(*number)) {
            const auto entry = reader.readFloat();
            if (!entry) return std::nullopt;
            if (entry->value) entries.append({entry->number, true, *entry->value});
        } else {
            const auto entry = reader.readInteger();
            if (!entry) return std::nullopt;
            if (entry->value) entries.append({entry->number, false, double(*entry->value)});
        }
    }
    return entries;
}

}  // namespace zel
