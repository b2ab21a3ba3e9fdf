// What the controller's model code says about it.
#pragma once

#include <cstdint>

namespace zel {

// Number of program tasks: 16, 32, 64 or 128 by model class.
int32_t taskCountForModel(int32_t modelCode);

// The smallest controllers (model codes up to 4, except 3) have no misc counts, status or
// configuration words to read.
bool hasControllerWords(int32_t modelCode);

}  // namespace zel
