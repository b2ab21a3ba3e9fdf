// The arithmetic of a paced serial line, on a clock the test moves by hand.
#include <gtest/gtest.h>
#include <termios.h>

#include "line_pacer.h"

namespace zel::sim {
namespace {

using namespace std::chrono_literals;
using Nanos = LinePacer::Nanos;

constexpr LineFormat k9600{9600, 10};  // a byte takes 1,041,666.67 ns

struct PacerTest : ::testing::Test {
    Nanos now{1'000'000'000};
    LinePacer pacer{[this] { return now; }, 0ms};
};

TEST(LineFormatTest, BitsPerByteCountStartDataParityAndStopBits) {
    const struct {
        unsigned cflag;
        int bits;
    } cases[] = {
        {CS8, 10}, {CS8 | CSTOPB, 11}, {CS7 | PARENB, 10}, {CS8 | PARENB | CSTOPB, 12}, {CS5, 7}};
    for (const auto& c : cases) EXPECT_EQ(bitsPerByte(c.cflag), c.bits) << c.cflag;
    EXPECT_EQ(baudOfSpeed(B9600), 9600);
    EXPECT_EQ(baudOfSpeed(B4000000), 4000000);
    EXPECT_EQ(baudOfSpeed(B0), 0);
}

TEST_F(PacerTest, RequestBytesArriveOneByteTimeEachAndQueueBehindEarlierOnes) {
    const Nanos start = now;
    pacer.received(10, k9600);
    EXPECT_EQ(pacer.arrived(), 0u);
    EXPECT_EQ(pacer.nextArrival(), start + 1'041'666ns);
    now += 5ms;
    EXPECT_EQ(pacer.arrived(), 4u);
    pacer.handled(4);
    pacer.received(5, k9600);    // more bytes while the first ten are still arriving
    now = start + 15'600'000ns;  // the fifteenth byte ends at 15.625 ms
    EXPECT_EQ(pacer.arrived(), 10u);
    now = start + 15'625'000ns;
    EXPECT_EQ(pacer.arrived(), 11u);
    pacer.handled(11);
    EXPECT_EQ(pacer.nextArrival(), std::nullopt);
    now += 1s;  // an idle line starts again from the first byte's time
    pacer.received(1, k9600);
    EXPECT_EQ(pacer.nextArrival(), now + 1'041'666ns);
}

TEST_F(PacerTest, ReplyBytesBecomeWritableOnlyAfterTheirTimeOnTheWire) {
    const Nanos start = now;
    pacer.queueReply(3, k9600);
    EXPECT_EQ(pacer.writable(), 0u);
    EXPECT_EQ(pacer.nextWrite(), start + 1'041'666ns);
    now = start + 2'500'000ns;  // a late wake-up catches up with whole bytes only
    EXPECT_EQ(pacer.writable(), 2u);
    pacer.wrote(2);
    EXPECT_EQ(pacer.writable(), 0u);
    EXPECT_EQ(pacer.nextWrite(), start + 3'125'000ns);
    now = start + 3'125'000ns;
    EXPECT_EQ(pacer.writable(), 1u);
    pacer.wrote(1);
    EXPECT_EQ(pacer.nextWrite(), std::nullopt);
}

TEST_F(PacerTest, LateWakeUpsDoNotAddUp) {
    const Nanos start = now;
    pacer.queueReply(100, k9600);
    size_t sent = 0;
    while (const auto next = pacer.nextWrite()) {
        now = *next + 700us;  // every wake-up comes late
        const size_t n = pacer.writable();
        pacer.wrote(n);
        sent += n;
    }
    EXPECT_EQ(sent, 100u);
    EXPECT_LE(now, start + 104'166'666ns + 700us);
}

TEST(LinePacerTurnaround, EachReplyWaitsItsTurnaroundBehindTheLastOneOut) {
    Nanos now{0};
    LinePacer pacer([&now] { return now; }, 5ms);
    pacer.queueReply(2, k9600);
    EXPECT_EQ(pacer.nextWrite(), 5ms + 1'041'666ns);
    now = 6ms;  // the second reply is handed over while the first is on the wire
    pacer.queueReply(1, k9600);
    now = 10ms;
    EXPECT_EQ(pacer.writable(), 2u);  // the second reply's turnaround runs from 6 ms
    pacer.wrote(2);
    EXPECT_EQ(pacer.nextWrite(), 11ms + 1'041'666ns);
}

}  // namespace
}  // namespace zel::sim
