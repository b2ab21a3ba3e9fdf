// The controller's flags, kept as 32-bit words the way the flag registers show them.
#pragma once

#include <array>
#include <cstdint>

#include "model.h"

namespace zel::sim {

class FlagBank {
public:
    explicit FlagBank(int count) : count_(count) {}

    int count() const { return count_; }
    bool present(int n) const { return n >= 1 && n <= count_; }
    bool get(int n) const;
    void set(int n, bool on);
    // Word w (0-based) holds flags 32w+1 .. 32w+32; bits beyond the count read and stay 0.
    bool wordPresent(int w) const { return w >= 0 && 32 * w < count_; }
    int32_t word(int w) const;
    void setWord(int w, int32_t value);

private:
    uint32_t mask(int w) const;

    int count_;
    std::array<uint32_t, kMaxFlags / 32> words_{};
};

}  // namespace zel::sim
