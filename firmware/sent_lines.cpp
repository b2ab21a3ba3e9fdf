#include "firmware/sent_lines.h"

namespace zel::firmware {

SentLines::Start SentLines::start(std::string_view tag) {
    line_.clear();
    header_.clear();
    listed_ = 0;
    counted_ = 0;
    first_ = true;
    if (!image_.ResetFile()) return Start::Unreadable;
    if (image_.kind() == ImageKind::Plain) return Start::Ready;
    const SectionSize size = image_.SectionLength(tag);
    if (!size.found) return Start::NoLength;
    if (!image_.FindLine(tag, header_)) return Start::NoSection;
    listed_ = size.length;
    return Start::Ready;
}

SentLines::Read SentLines::next() {
    // The image's end is looked at only once a line has been read to send.
    if (!first_ && image_.FileEOF()) return Read::End;
    if (!image_.GetLine(line_)) return Read::Failed;
    if (!first_) counted_ += static_cast<int64_t>(line_.size());
    first_ = false;
    if (line_.find("END") != std::string::npos || (line_.empty() && image_.FileEOF()))
        return Read::Stop;
    return Read::Line;
}

}  // namespace zel::firmware
