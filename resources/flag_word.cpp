#include "resources/flag_word.h"

#include "link/library_version.h"

namespace zel {
namespace {

constexpr int32_t kFlagSetBase = 13200;  // 13200 + n writes flag n
constexpr int32_t kOlderLibraryFlagLimit = 32;
constexpr int32_t kNewerLibraryFlagLimit = 256;

}  // namespace

int32_t writeFlag(ZelLibrary& library, int32_t handle, int32_t flag, int16_t value) {
    const bool direct = flag <= kOlderLibraryFlagLimit ||
                        (flag <= kNewerLibraryFlagLimit && SelectCommFunction(library) == 1);
    if (direct) return library.ZlPutFlag(handle, flag, value);
    return library.ZlPutRegister(handle, kFlagSetBase + flag, value);
}

}  // namespace zel
