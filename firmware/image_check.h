// The soundness of a firmware image, read as the update reads it: every S-record's length and
// checksum, and what the update would send. A plain image is sent whole from its first line, so
// it holds records alone. A compressed image starts with a model list (a first line ending in
// the number of models, 1 to 4, then one line per model with its tag and "L" and its section's
// length) and holds a section for every model listed: the next line with the model's tag, an
// S0 record, and the records up to a line holding "END". Every line sent must be an S-record.
// A length in the list that differs from the characters counted (after the S0 record, the END
// line included, line ends not counted) is only noted: the update's progress goes by it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "firmware/firmware_image.h"

namespace zel::firmware {

struct SectionCheck {
    std::string tag;
    int32_t length = 0;
    // Where the list's length is off: "line 2: the list gives 96 characters for ..."; else "".
    std::string note;

    bool operator==(const SectionCheck&) const = default;
};

struct ImageCheck {
    bool sound = false;
    // The line the fault is on; 0 for a fault of the whole image (its count header).
    int line = 0;
    std::string fault;
    int lines = 0;
    int records = 0;
    // A plain image: every module is sent the same lines.
    bool sentWhole = false;
    std::vector<SectionCheck> sections;

    // "line 12: the checksum is 3F, the bytes give 40"
    std::string message() const;
    // The section a compressed image holds for the tag's model; null when it holds none.
    const SectionCheck* section(std::string_view tag) const;
    // Whether a sound image has lines to send to the tag's model.
    bool sends(std::string_view tag) const { return sound && (sentWhole || section(tag)); }
};

// Checks an open image from its first line; the image is left somewhere in its text.
ImageCheck checkImage(FirmwareImage& image);

}  // namespace zel::firmware
