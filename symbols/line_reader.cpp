#include "symbols/line_reader.h"

#include <QIODevice>

#include <algorithm>

namespace zel::symbols {
namespace {

constexpr qint64 kBlockSize = 256 * 1024;

}  // namespace

LineReader::LineReader(QIODevice& device) : device_(device) {}

// Moves what is left to the front and appends the next block; false once nothing came.
bool LineReader::fill() {
    buffer_.remove(0, start_);
    start_ = 0;
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + kBlockSize);
    const qint64 got = device_.read(buffer_.data() + kept, kBlockSize);
    buffer_.resize(kept + std::max<qint64>(got, 0));
    if (got < 0) error_ = QStringLiteral("cannot read it: ") + device_.errorString();
    atEnd_ = got <= 0;
    return got > 0;
}

LineReader::Status LineReader::fail(const QString& reason) {
    error_ = reason;
    return Status::Error;
}

LineReader::Status LineReader::next(QByteArrayView& line) {
    qsizetype end = buffer_.indexOf('\n', start_);
    while (end < 0 && !atEnd_) {
        if (buffer_.size() - start_ > kMaxLineLength) break;
        const qsizetype searched = buffer_.size() - start_;
        if (fill()) end = buffer_.indexOf('\n', searched);
    }
    if (!error_.isEmpty()) return Status::Error;
    const qsizetype stop = end < 0 ? buffer_.size() : end;
    if (stop == start_ && end < 0) return Status::End;
    ++lineNumber_;
    if (stop - start_ > kMaxLineLength)
        return fail(QStringLiteral("it is not a text file: line %1 is longer than %2 bytes")
                        .arg(lineNumber_)
                        .arg(kMaxLineLength));
    line = QByteArrayView(buffer_).sliced(start_, stop - start_);
    if (line.contains('\0'))
        return fail(
            QStringLiteral("it is not a text file: line %1 holds a zero byte").arg(lineNumber_));
    const qsizetype used = stop - start_ + (end < 0 ? 0 : 1);
    consumed_ += used;
    start_ += used;
    return Status::Line;
}

}  // namespace zel::symbols
