// Where the controller keeps a flag: it packs its flags 32 to a register word.
#pragma once

#include <cstdint>

#include "common/io_counts.h"

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

}  // namespace zel
