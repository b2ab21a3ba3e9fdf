// Reads a text device line by line in large blocks, with how far into the device it is. A line
// holding a zero byte or longer than kMaxLineLength is not text: it is passed over, by number,
// and the lines after it are read on.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace zel::symbols {

inline constexpr qsizetype kMaxLineLength = 64 * 1024;

class LineReader {
public:
    enum class Status { Line, Unreadable, End, Error };

    explicit LineReader(QIODevice& device);

    // Line: the next line without its line feed, valid until the next call. Unreadable: the
    // next line is not text and was passed over. Error: the device failed (errorText()).
    Status next(QByteArrayView& line);
    // The number of the line last returned, from 1.
    qint64 lineNumber() const { return lineNumber_; }
    // Bytes consumed so far, line feeds included.
    qint64 consumed() const { return consumed_; }
    QString errorText() const { return error_; }

private:
    bool fill();
    Status skipLongLine();

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype start_ = 0;
    bool atEnd_ = false;
    qint64 consumed_ = 0;
    qint64 lineNumber_ = 0;
    QString error_;
};

}  // namespace zel::symbols
