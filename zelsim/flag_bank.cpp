#include "flag_bank.h"

namespace zel::sim {

bool FlagBank::get(int n) const {
    if (!present(n)) return false;
    return (words_[(n - 1) / 32] >> ((n - 1) % 32)) & 1u;
}

void FlagBank::set(int n, bool on) {
    if (!present(n)) return;
    const uint32_t bit = 1u << ((n - 1) % 32);
    uint32_t& w = words_[(n - 1) / 32];
    w = on ? (w | bit) : (w & ~bit);
}

int32_t FlagBank::word(int w) const {
    return wordPresent(w) ? static_cast<int32_t>(words_[w]) : 0;
}

void FlagBank::setWord(int w, int32_t value) {
    if (wordPresent(w)) words_[w] = static_cast<uint32_t>(value) & mask(w);
}

uint32_t FlagBank::mask(int w) const {
    const int inWord = count_ - 32 * w;
    return inWord >= 32 ? 0xFFFFFFFFu : (1u << inWord) - 1u;
}

}  // namespace zel::sim
