// The rules of frmFlashSelect, the choice of model when the module is already in its boot
// loader and cannot say what it is: the options come from the model list at the image's start.
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "firmware/firmware_image.h"

namespace zel {

struct ModelOption {
    bool visible = false;
    QString caption;
    int code = 0;
};

struct ModelChoices {
    std::array<ModelOption, 4> options;
};

// Rewinds the image and reads its model list: the first line's last character is the number of
// models (1 to 4), one line per model follows. An option shows when its line holds a CPU module
// tag. None when the image cannot be rewound or read.
std::optional<ModelChoices> readModelChoices(firmware::FirmwareImage& image);

}  // namespace zel
