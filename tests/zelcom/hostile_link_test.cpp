// The library against a peer that misbehaves on purpose. Whatever arrives, a call either
// returns the value that answers it or fails within its timeout; it never takes a cut, late,
// duplicated or foreign reply for its answer and never writes past the caller's buffer.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "protocol.h"
#include "scripted_peer.h"
#include "wire.h"
#include "zelcom.h"

using namespace zel;
using namespace zel::test;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<uint8_t> word(int32_t value) {
    codec::ByteWriter w;
    w.i32(value);
    return w.take();
}

long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct Session {
    ScriptedPeer peer;
    TcpPortOverride port{peer.port()};
    int32_t handle;
    Session(ScriptedPeer::Script script, int timeoutMs)
        : peer(std::move(script)), handle(openLoopbackTcp(timeoutMs)) {}
    ~Session() { ZlCloseConnection(handle); }
};

}  // namespace

TEST(HostileLink, AReplyCutAtAnyOffsetFailsAndLeavesTheNextCallIntact) {
    const auto full = ScriptedPeer::replyTo(codec::Frame{}, word(1234));
    int n = 0;
    Session s(
        [&](int fd, const codec::Frame& request) {
            auto reply = ScriptedPeer::replyTo(request, word(1234));
            // Odd requests get a reply cut short; even ones the whole reply.
            if (n++ % 2 == 0) reply.resize(static_cast<size_t>(n / 2));
            ScriptedPeer::writeAll(fd, reply);
        },
        200);
    ASSERT_GT(s.handle, 0);
    for (size_t cut = 0; cut < full.size(); ++cut) {
        int32_t value = -1;
        EXPECT_EQ(ZlGetRegister(s.handle, 1, &value), 0) << "cut at " << cut;
        EXPECT_EQ(lastErrorCode(), ZL_ERR_TIMEOUT);
        EXPECT_EQ(value, -1);
        EXPECT_EQ(ZlGetRegister(s.handle, 1, &value), 1) << "after cut at " << cut;
        EXPECT_EQ(value, 1234);
    }
}

TEST(HostileLink, AReplyTricklingInOneByteAtATimeCountsOnlyWithinTheTimeout) {
    auto trickle = [](std::chrono::milliseconds gap) {
        return [gap](int fd, const codec::Frame& request) {
            for (uint8_t byte : ScriptedPeer::replyTo(request, word(77))) {
                std::this_thread::sleep_for(gap);
                ScriptedPeer::writeAll(fd, {byte});
            }
        };
    };
    const int timeoutMs = 1000;
    const size_t replyBytes = ScriptedPeer::replyTo(codec::Frame{}, word(0)).size();
    {  // the whole reply arrives at about a fifth of the timeout
        Session s(trickle(std::chrono::milliseconds(timeoutMs / 5 / replyBytes)), timeoutMs);
        int32_t value = 0;
        EXPECT_EQ(ZlGetRegister(s.handle, 5, &value), 1);
        EXPECT_EQ(value, 77);
    }
    {  // the last byte would arrive at about one and a half times the timeout
        Session s(trickle(std::chrono::milliseconds(timeoutMs * 3 / 2 / replyBytes)), timeoutMs);
        int32_t value = 0;
        const auto start = Clock::now();
        EXPECT_EQ(ZlGetRegister(s.handle, 5, &value), 0);
        EXPECT_EQ(lastErrorCode(), ZL_ERR_TIMEOUT);
        EXPECT_GE(msSince(start), timeoutMs - 5);
        EXPECT_EQ(value, 0);
    }
}

TEST(HostileLink, DuplicateAndLateRepliesNeverAnswerALaterRequest) {
    int n = 0;
    codec::Frame held;
    Session s(
        [&](int fd, const codec::Frame& request) {
            ++n;
            if (n == 1) {  // hold the first reply back until after its call has timed out
                held = request;
                return;
            }
            if (n == 2) ScriptedPeer::writeAll(fd, ScriptedPeer::replyTo(held, word(1)));
            const auto reply = ScriptedPeer::replyTo(request, word(n));
            ScriptedPeer::writeAll(fd, reply);
            ScriptedPeer::writeAll(fd, reply);  // and every reply twice
        },
        500);
    int32_t value = 0;
    EXPECT_EQ(ZlGetRegister(s.handle, 1, &value), 0);
    for (int expected = 2; expected <= 5; ++expected) {
        EXPECT_EQ(ZlGetRegister(s.handle, 1, &value), 1);
        EXPECT_EQ(value, expected);
    }
}

TEST(HostileLink, LengthFieldsThatDisagreeWithTheBodyFailTheCall) {
    int n = 0;
    Session s(
        [&](int fd, const codec::Frame& request) {
            auto reply = ScriptedPeer::replyTo(request, word(9));
            // A reply claiming more than it carries is a cut reply, tested above.
            if (n == 0) reply[16] -= 1;                                  // claims less
            if (n == 1) reply = ScriptedPeer::replyTo(request, {9, 0});  // short body
            ++n;
            ScriptedPeer::writeAll(fd, reply);
        },
        400);
    int32_t value = -1;
    for (int32_t expected : {ZL_ERR_TIMEOUT, ZL_ERR_BAD_REPLY}) {
        EXPECT_EQ(ZlGetRegister(s.handle, 1, &value), 0);
        EXPECT_EQ(lastErrorCode(), expected);
        EXPECT_EQ(value, -1);
    }
    EXPECT_EQ(ZlGetRegister(s.handle, 1, &value), 1);
    EXPECT_EQ(value, 9);
}

TEST(HostileLink, ABlockReplyLongerOrShorterThanAskedLeavesTheCallersBufferAlone) {
    int n = 0;
    Session s(
        [&](int fd, const codec::Frame& request) {
            codec::ByteWriter w;
            const int count = n++ == 0 ? 60 : 49;
            for (int i = 0; i < count; ++i) w.i32(1000 + i);
            ScriptedPeer::writeAll(fd, ScriptedPeer::replyTo(request, w.take()));
        },
        1000);
    struct {
        int32_t values[50];
        int32_t guard[16];
    } block;
    std::fill(std::begin(block.values), std::end(block.values), -7);
    std::fill(std::begin(block.guard), std::end(block.guard), -9);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(ZlGetRegister50(s.handle, 1, block.values), 0);
        EXPECT_EQ(lastErrorCode(), ZL_ERR_BAD_REPLY);
        for (int32_t v : block.values) EXPECT_EQ(v, -7);
        for (int32_t v : block.guard) EXPECT_EQ(v, -9);
    }
}

// "At once" is far below the timeout, so that a load on the machine cannot fail it.
TEST(HostileLink, APeerThatHangsUpFailsThisCallAndEveryLaterOneAtOnce) {
    Session s([](int fd, const codec::Frame&) { ::shutdown(fd, SHUT_RDWR); }, 20000);
    int32_t value = 0;
    const auto start = Clock::now();
    EXPECT_EQ(ZlGetRegister(s.handle, 1, &value), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_LINK_LOST);
    EXPECT_EQ(ZlGetRegister(s.handle, 1, &value), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_LINK_LOST);
    EXPECT_LT(msSince(start), 10000);
}
