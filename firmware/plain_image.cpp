#include "firmware/plain_image.h"

namespace zel::firmware {

bool PlainImage::openStream(std::FILE* stream) {
    CloseCompressedFile();
    file_ = stream;
    lineNumber_ = 0;
    return true;
}

bool PlainImage::ResetFile() {
    if (!file_ || std::fseek(file_, 0, SEEK_SET) != 0) return false;
    lineNumber_ = 0;
    return true;
}

bool PlainImage::GetLine(std::string& line) {
    line.clear();
    if (!file_) return false;
    int c = 0;
    while ((c = std::getc(file_)) != EOF && c != '\n') line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++lineNumber_;
    return true;
}

bool PlainImage::FileEOF() const {
    if (!file_) return true;
    const int c = std::getc(file_);
    if (c == EOF) return true;
    std::ungetc(c, file_);
    return false;
}

}  // namespace zel::firmware
