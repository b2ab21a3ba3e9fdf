#include "link/model_class.h"

namespace zel {

bool hasControllerWords(int32_t modelCode) {
    return modelCode == 3 || modelCode > 4;
}

int32_t taskCountForModel(int32_t modelCode) {
    if (!hasControllerWords(modelCode)) return 16;
    if (modelCode <= 9) return 32;
    if (modelCode <= 11) return 64;
    return 128;
}

}  // namespace zel
