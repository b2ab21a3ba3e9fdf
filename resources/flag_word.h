// Where the controller keeps a flag: it packs its flags 32 to a register word, and a flag is
// written by the library's flag call or through a register of its own.
#pragma once

#include <cstdint>

#include "common/io_counts.h"
#include "link/zel_library.h"

namespace zel {

inline constexpr int32_t kFlagsPerWord = 32;

// The register that holds `flag`: 13005 while the controller has at most 32 flags, else the
// flag's own word from 13021 on.
inline int32_t flagWordRegister(const IOCounts& counts, int32_t flag) {
    if (counts.FlagCount() <= kFlagsPerWord) return 13005;
    return 13021 + (flag - 1) / kFlagsPerWord;
}

// The bit of that word that holds `flag`.
constexpr int flagBit(int32_t flag) {
    return (flag - 1) % kFlagsPerWord;
}

// Writes `flag` as the Flags window does: older libraries set only the first 32 flags
// directly; beyond that, and beyond 256 for any library, through the register 13200 + flag.
// The library's result, 1 for success.
int32_t writeFlag(ZelLibrary& library, int32_t handle, int32_t flag, int16_t value);

}  // namespace zel
