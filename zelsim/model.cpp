#include "model.h"

namespace zel::sim {

int taskCountForModel(int code) {
    if (code == 3 || (code >= 5 && code <= 9)) return 32;
    if (code <= 4) return 16;
    if (code <= 11) return 64;
    return 128;
}

}  // namespace zel::sim
