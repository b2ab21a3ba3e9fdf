// Which calls fetch a set of registers with the fewest bytes on the line: single reads, blocks
// of sixteen from any register, or the aligned blocks of fifty, a block spanning a gap where the
// unwanted registers cost fewer bytes than another exchange would.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "link/zel_calls.h"

namespace zel {

struct PlannedRead {
    ZelCall call = ZelCall::GetRegister;  // GetRegister, GetRegister16 or GetRegister50
    int32_t argument = 0;  // the register, the first of sixteen, or the block of fifty

    RegisterRange registers() const { return registersOf(call, {0, argument}); }
    bool operator==(const PlannedRead&) const = default;
};

// Bytes on the line for one exchange of the call, request and reply, with the turnaround
// counted as a few bytes more.
int exchangeBytes(ZelCall call);

struct ReadPlanRules {
    bool blocks = true;  // false: every register read on its own
    // A block the controller has refused; single reads are always allowed.
    std::function<bool(const PlannedRead&)> refused;
};

// `registers` in rising order, each once. The plan covers every one of them, in rising order.
std::vector<PlannedRead> planReads(std::span<const int32_t> registers, const ReadPlanRules& rules);

}  // namespace zel
