// The register value file: a header line, an empty line, then one register per line with its
// number in the first 14-column print zone and its value in the next, every line ended by CR LF.
// The writer builds the lines; the reader takes the whole file as bytes so that tests and the
// fuzzer drive it without a disk.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace zel {

// Every layout starts with the general registers 1 to 1000, one a line; a download reads them
// all before anything else.
inline constexpr int32_t kGeneralRegisters = 1000;

// The value written for a register whose read failed.
inline constexpr char kUnreadValue[] = "*";

// Plain decimal digits, "-" when negative.
QString registerTextForm(int32_t value);
// " 12 " / "-12 ": a sign place, the digits and a trailing blank.
QString registerIntegerForm(int32_t value);
// As the integer form with up to 15 significant digits: " 1.5 ".
QString registerFloatForm(double value);

// "Reg#" and "Value" in their zones, then the empty line.
QByteArray registerFileHeader();
// One register line, CR LF included.
QByteArray registerFileLine(const QString& number, const QString& value);
// Flushes `file` and tells whether every write reached it; a full disk would otherwise leave a
// cut file that passes for a complete one.
bool writtenInFull(QFile& file);
// The upload's failure phrase followed by the file's name and the system's reason, for a file
// that writtenInFull found cut.
QString fileWriteFailure(const QString& phrase, const QFile& file);
// The line of a number and a value in their text forms, appended to `lines`: the same bytes as
// registerFileLine, formatted straight into the file's text for uploads of many thousand lines.
void appendRegisterFileLine(QByteArray& lines, int32_t number, int32_t value);

// Reads entries after the header. A line that is not two fields, or a field that is not a
// number of the kind asked for, stops the reader with an error naming the line.
class RegisterFileReader {
public:
    explicit RegisterFileReader(QByteArray bytes);

    // Skips the header line and the empty line; false when the file has fewer lines.
    bool skipHeader();
    // True when only blank lines remain.
    bool atEnd() const;

    // A register number and a 32-bit value; value is empty for "*".
    struct IntegerEntry {
        int32_t number = 0;
        std::optional<int32_t> value;
    };
    struct FloatEntry {
        int32_t number = 0;
        std::optional<double> value;
    };
    std::optional<IntegerEntry> readInteger();
    std::optional<FloatEntry> readFloat();
    // The register number on the next line without reading past it; empty when the line has
    // none.
    std::optional<int32_t> peekNumber() const;

    // "Line 7: ..." for the first bad line; empty while all went well.
    const QString& error() const { return error_; }
    // The 1-based number of the line read last.
    int lineNumber() const { return line_; }

private:
    // The two fields of the next line, or false with error_ set.
    bool nextFields(QByteArray& number, QByteArray& value);
    std::optional<int32_t> nextEntry(QByteArray& value);
    bool fail(const QString& why);

    QByteArray bytes_;
    qsizetype pos_ = 0;
    int line_ = 0;
    QString error_;
};

// Model 5 keeps double-precision V-registers at 36101..36800; files hold them as decimals.
bool isVRegisterOf(int32_t modelCode, int32_t number);

// One register of a file that holds a value; a V-register's value is a decimal.
struct RegisterFileEntry {
    int32_t number = 0;
    bool vRegister = false;
    double value = 0.0;
};

// Every entry after the header that holds a value (an unread "*" has none), a number for which
// `isVRegister` answers true read as a decimal. Empty at the first bad line, with the reader's
// error naming it, so a caller can refuse the whole file before using any of it.
std::optional<QList<RegisterFileEntry>> readRegisterEntries(
    RegisterFileReader& reader, const std::function<bool(int32_t)>& isVRegister);

}  // namespace zel
