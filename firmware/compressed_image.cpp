#include "firmware/compressed_image.h"

namespace zel::firmware {

bool CompressedImage::openStream(std::FILE* stream) {
    CloseCompressedFile();
    file_ = stream;
    lineNumber_ = 0;
    streamEnded_ = false;
    decoder_.emplace(stream);
    if (!decoder_->readHeader()) {
        error_ = decoder_->error();
        decoder_.reset();
        return false;
    }
    return true;
}

bool CompressedImage::ResetFile() {
    if (!decoder_ || std::fseek(file_, decoder_->headerSize(), SEEK_SET) != 0) return false;
    decoder_->restartBits();
    streamEnded_ = false;
    lineNumber_ = 0;
    return true;
}

bool CompressedImage::GetLine(std::string& line) {
    line.clear();
    if (FileEOF()) return false;
    for (;;) {
        const int symbol = decoder_->nextSymbol();
        if (symbol < 0) {
            error_ = kStreamCutShort;
            return false;
        }
        if (symbol == kEndOfStream) {
            streamEnded_ = true;
            break;
        }
        if (symbol == '\n') break;
        if (symbol != '\r') line += static_cast<char>(symbol);
    }
    ++lineNumber_;
    return true;
}

}  // namespace zel::firmware
