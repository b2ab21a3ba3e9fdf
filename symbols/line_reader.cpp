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

LineReader::Status LineReader::next(QByteArrayView& line) {
    line = {};
    qsizetype end = buffer_.indexOf('\n', start_);
    while (end < 0 && !atEnd_) {
        if (buffer_.size() - start_ > kMaxLineLength) return skipLongLine();
        const qsizetype searched = buffer_.size() - start_;
        if (fill()) end = buffer_.indexOf('\n', searched);
    }
    if (!error_.isEmpty()) return Status::Error;
    const qsizetype stop = end < 0 ? buffer_.size() : end;
    if (stop == start_ && end < 0) return Status::End;
    ++lineNumber_;
    const QByteArrayView text = QByteArrayView(buffer_).sliced(start_, stop - start_);
    const qsizetype used = text.size() + (end < 0 ? 0 : 1);
    consumed_ += used;
    start_ += used;
    if (text.size() > kMaxLineLength || text.contains('\0')) return Status::Unreadable;
    line = text;
    return Status::Line;
}

// Passes over a line too long to keep, a block at a time, up to and including its line feed.
LineReader::Status LineReader::skipLongLine() {
    ++lineNumber_;
    qsizetype end;
    while ((end = buffer_.indexOf('\n', start_)) < 0) {
        consumed_ += buffer_.size() - start_;
        start_ = buffer_.size();
        if (!fill()) return error_.isEmpty() ? Status::Unreadable : Status::Error;
    }
    consumed_ += end + 1 - start_;
    start_ = end + 1;
    return Status::Unreadable;
}

}  // namespace zel::symbols
