// The lines the update sends to a module, read in the order it sends them. A plain image is sent
// from its first line; a compressed one from the line after its model's section header, which is
// the second line holding the model's tag (the first, in the list of models, gives the section's
// length). Sending stops before the first line holding "END", before an empty line at the
// image's end, or at the image's end. The image check walks every image with this before a
// controller is touched and the update sends with it, so the two cannot disagree about what a
// module is sent.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "firmware/firmware_image.h"

namespace zel::firmware {

class SentLines {
public:
    enum class Start { Ready, Unreadable, NoLength, NoSection };
    // Line: one to send. Stop: a line that ends the sending, read but not sent. End: the image
    // ended after the line sent last. Failed: the line cannot be read (the image's error()).
    enum class Read { Line, Stop, End, Failed };

    explicit SentLines(FirmwareImage& image) : image_(image) {}

    // Rewinds the image and, in a compressed one, finds the section of the model's tag.
    Start start(std::string_view tag);
    Read next();

    const std::string& line() const { return line_; }
    // The characters of the lines read after the first, the one that stops the sending
    // included: what the progress is counted in.
    int64_t counted() const { return counted_; }
    // A compressed image's section header line and the length its list line gives.
    const std::string& header() const { return header_; }
    int32_t listedLength() const { return listed_; }

private:
    FirmwareImage& image_;
    std::string line_;
    std::string header_;
    int32_t listed_ = 0;
    int64_t counted_ = 0;
    bool first_ = true;
};

}  // namespace zel::firmware
