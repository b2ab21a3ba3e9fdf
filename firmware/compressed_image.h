// A compressed image: its lines are decoded from the bit stream; carriage returns are dropped,
// a line feed ends a line, and the end symbol ends the last line, partial or empty, and the
// image.
#pragma once

#include <optional>

#include "firmware/firmware_image.h"
#include "firmware/huffman_stream.h"

namespace zel::firmware {

class CompressedImage : public FirmwareImage {
public:
    bool openStream(std::FILE* stream) override;
    // The tree built at the open is kept; only the bit stream is read again.
    bool ResetFile() override;
    bool GetLine(std::string& line) override;
    bool FileEOF() const override { return !decoder_ || streamEnded_; }
    ImageKind kind() const override { return ImageKind::Compressed; }

private:
    std::optional<HuffmanDecoder> decoder_;
    bool streamEnded_ = false;
};

}  // namespace zel::firmware
