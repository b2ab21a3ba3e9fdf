// Reads a text device line by line in large blocks, with how far into the device it is. A
// zero byte or a line longer than kMaxLineLength means the device does not hold text.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

namespace zel::symbols {

inline constexpr qsizetype kMaxLineLength = 64 * 1024;

class LineReader {
public:
    enum class Status { Line, End, Error };

    explicit LineReader(QIODevice& device);

    // The next line without its line feed; valid until the next call.
    Status next(QByteArrayView& line);
    // Bytes consumed so far, line feeds included.
    qint64 consumed() const { return consumed_; }
    QString errorText() const { return error_; }

private:
    bool fill();
    Status fail(const QString& reason);

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype start_ = 0;
    bool atEnd_ = false;
    qint64 consumed_ = 0;
    qint64 lineNumber_ = 0;
    QString error_;
};

}  // namespace zel::symbols
