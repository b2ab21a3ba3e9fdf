// The soundness of a firmware image, read as the update reads it: every S-record's length and
// checksum; and when the image starts with a model list (a first line ending in the number of
// models, 1 to 4, then one line per model with its tag and "L" and its section's length), a
// section for every model listed: the next line with the model's tag, an S0 record, and the
// records up to a line holding "END", whose characters (after the S0 record, the END line
// included, line ends not counted) are the length listed, the count the update's progress
// is measured in.
#pragma once

#include <string>
#include <vector>

#include "firmware/firmware_image.h"

namespace zel::firmware {

struct SectionCheck {
    std::string tag;
    int32_t length = 0;
};

struct ImageCheck {
    bool sound = false;
    // The line the fault is on; 0 for a fault of the whole image (its count header).
    int line = 0;
    std::string fault;
    int lines = 0;
    int records = 0;
    std::vector<SectionCheck> sections;

    // "line 12: the checksum is 3F, the bytes give 40"
    std::string message() const;
};

// Checks an open image from its first line; the image is left somewhere in its text.
ImageCheck checkImage(FirmwareImage& image);

}  // namespace zel::firmware
