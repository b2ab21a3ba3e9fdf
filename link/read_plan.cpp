#include "link/read_plan.h"

#include <algorithm>
#include <limits>

namespace zel {
namespace {

// Every frame carries a 20-byte header and a 4-byte check around its body.
constexpr int kFrameBytes = 24;
// The controller's turnaround before it replies, and the gap between frames.
constexpr int kTurnaroundBytes = 4;

}  // namespace

int exchangeBytes(ZelCall call) {
    const int overhead = 2 * kFrameBytes + kTurnaroundBytes;
    switch (call) {
        case ZelCall::GetRegister16:
            return overhead + 6 + 16 * 4;  // first and count asked; sixteen values back
        case ZelCall::GetRegister50:
            return overhead + 6 + 50 * 4;
        default:
            return overhead + 4 + 4;  // the register asked, its value back
    }
}

// Covers the registers from the first not yet covered onwards, choosing at each the call that
// leaves the rest cheapest: an exact search, the registers of one tick being a few hundred.
std::vector<PlannedRead> planReads(std::span<const int32_t> registers, const ReadPlanRules& rules) {
    const size_t n = registers.size();
    std::vector<long> cost(n + 1, 0);
    std::vector<PlannedRead> choice(n);
    std::vector<size_t> next(n);
    for (size_t i = n; i-- > 0;) {
        const int32_t r = registers[i];
        cost[i] = std::numeric_limits<long>::max();
        const auto consider = [&](PlannedRead read) {
            if (read.call != ZelCall::GetRegister && rules.refused && rules.refused(read)) return;
            const auto end = std::upper_bound(registers.begin() + static_cast<long>(i),
                                              registers.end(), read.registers().last);
            const auto j = static_cast<size_t>(end - registers.begin());
            const long total = exchangeBytes(read.call) + cost[j];
            if (total >= cost[i]) return;
            cost[i] = total;
            choice[i] = read;
            next[i] = j;
        };
        consider({ZelCall::GetRegister, r});
        if (!rules.blocks || r < 1) continue;
        consider({ZelCall::GetRegister16, r});
        if (const int32_t block = (r - 1) / 50 + 1; block <= kLastBlockOfFifty)
            consider({ZelCall::GetRegister50, block});
    }
    std::vector<PlannedRead> plan;
    for (size_t i = 0; i < n; i = next[i]) plan.push_back(choice[i]);
    return plan;
}

}  // namespace zel
