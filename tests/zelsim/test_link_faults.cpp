// Injected link faults: which requests are refused and which replies are lost or damaged,
// repeatably. Counted drops and the request budget are checked end to end.
#include <gtest/gtest.h>

#include "link_faults.h"
#include "protocol.h"
#include "wire.h"

namespace zel::sim {
namespace {

codec::Frame registerRequest(codec::Op op, int32_t first, uint16_t count = 0) {
    codec::ByteWriter w;
    w.i32(first);
    if (op == codec::Op::GetRegisterRange) w.u16(count);
    codec::Frame f;
    f.opcode = static_cast<uint16_t>(op);
    f.body = w.take();
    return f;
}

TEST(LinkFaults, ErrorRangesHitEveryRegisterRequestTouchingThem) {
    LinkFaultSettings s;
    s.errorRanges = {{100, 120, 205}};
    const LinkFaults f(s);
    EXPECT_EQ(f.forcedError(registerRequest(codec::Op::GetRegister, 100)), 205);
    EXPECT_EQ(f.forcedError(registerRequest(codec::Op::PutRegister, 120)), 205);
    EXPECT_FALSE(f.forcedError(registerRequest(codec::Op::GetRegister, 121)));
    EXPECT_EQ(f.forcedError(registerRequest(codec::Op::GetRegisterRange, 85, 16)), 205);
    EXPECT_FALSE(f.forcedError(registerRequest(codec::Op::GetRegisterRange, 84, 16)));
    EXPECT_FALSE(f.forcedError(registerRequest(codec::Op::GetTaskBank, 100)));
}

TEST(LinkFaults, RandomDropsAndDamageRepeatWithTheSeed) {
    LinkFaultSettings s;
    s.dropRate = 0.5;
    s.corruptRate = 0.5;
    s.seed = 42;
    LinkFaults a(s), b(s);
    int drops = 0, damaged = 0;
    for (int i = 0; i < 200; ++i) {
        const bool dropA = a.dropNextReply();
        EXPECT_EQ(dropA, b.dropNextReply());
        drops += dropA;
        std::vector<uint8_t> x(24, 0), y(24, 0);
        a.maybeCorrupt(x);
        b.maybeCorrupt(y);
        EXPECT_EQ(x, y);
        damaged += x != std::vector<uint8_t>(24, 0);
    }
    EXPECT_GT(drops, 50);
    EXPECT_LT(drops, 150);
    EXPECT_GT(damaged, 50);
    EXPECT_LT(damaged, 150);
}

}  // namespace
}  // namespace zel::sim
