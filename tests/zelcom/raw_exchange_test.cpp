// The boot loader's raw exchange (ZlSendAscii) over a real pseudo-terminal whose far end the
// test writes, and its refusal on links that only carry frames.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "scripted_peer.h"
#include "zelcom.h"

using namespace zel::test;

namespace {

class RawExchange : public ::testing::Test {
protected:
    PseudoTerminal pty;
    int32_t h = 0;
    char reply[ZL_SEND_ASCII_REPLY_SIZE] = {};

    void SetUp() override {
        ASSERT_FALSE(pty.slave.empty());
        ::setenv("ZELCOM_COMM6", pty.slave.c_str(), 1);
        h = ZlOpenConnection(ZL_KIND_SERIAL, 6, 0);
        ::unsetenv("ZELCOM_COMM6");
        ASSERT_GT(h, 0);
        ASSERT_EQ(ZlInitConnection(h, 38400, 0, 8, 0), 1);
        ASSERT_EQ(ZlSetConnectionTimeout(h, 300), 1);
    }
    void TearDown() override { ZlCloseConnection(h); }

    void farEndWrites(const std::string& bytes) {
        ASSERT_EQ(::write(pty.master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    std::string farEndReads(size_t count) {
        std::string got(count, '\0');
        size_t have = 0;
        while (have < count) {
            const ssize_t n = ::read(pty.master, got.data() + have, count - have);
            if (n <= 0) break;
            have += static_cast<size_t>(n);
        }
        return got.substr(0, have);
    }
    std::string received(int32_t count) const { return std::string(reply, static_cast<size_t>(count)); }
};

}  // namespace

TEST_F(RawExchange, ReplyEndsAtTheEndByteAndWhatFollowsWaitsForTheNextCall) {
    farEndWrites(std::string("Boot\x13" "Erased 00000010\r\nx\0y\x11", 27));
    int32_t count = ZlSendAscii(h, "S0030000FC", 10, reply, 19);
    ASSERT_EQ(count, 5);
    EXPECT_EQ(received(count), "Boot\x13");
    EXPECT_EQ(reply[5], '\0');
    EXPECT_EQ(farEndReads(10), "S0030000FC");

    // An empty text only receives; the bytes already read are not lost.
    count = ZlSendAscii(h, "", 0, reply, '\n');
    EXPECT_EQ(received(count), "Erased 00000010\r\n");
    count = ZlSendAscii(h, nullptr, 0, reply, 17);
    EXPECT_EQ(received(count), std::string("x\0y\x11", 4));
}

TEST_F(RawExchange, NoEndByteWithinTheTimeoutFailsWithNoReply) {
    farEndWrites("partial");
    EXPECT_EQ(ZlSendAscii(h, "\x11", 1, reply, 17), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_TIMEOUT);
    // The partial reply is kept: its end byte may still come.
    farEndWrites("\x11");
    const int32_t count = ZlSendAscii(h, "", 0, reply, 17);
    EXPECT_EQ(received(count), "partial\x11");
}

TEST_F(RawExchange, AReplyLongerThanTheBufferWithoutItsEndByteIsBad) {
    farEndWrites(std::string(ZL_SEND_ASCII_REPLY_SIZE, 'A'));
    EXPECT_EQ(ZlSendAscii(h, "", 0, reply, '\n'), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_BAD_REPLY);
}

TEST(RawExchangeRefused, ArgumentsAndLinksThatCarryOnlyFrames) {
    ScriptedPeer peer([](int, const zel::codec::Frame&) {});
    TcpPortOverride port(peer.port());
    const int32_t tcp = openLoopbackTcp(1000);
    ASSERT_GT(tcp, 0);
    char reply[ZL_SEND_ASCII_REPLY_SIZE];
    struct Case {
        const char* text;
        int32_t length;
        char* reply;
        int32_t endByte;
        int32_t code;
    } cases[] = {
        {"\x11", 1, reply, 17, ZL_ERR_NOT_SUPPORTED},
        {"\x11", 1, nullptr, 17, ZL_ERR_BAD_ARGUMENT},
        {nullptr, 1, reply, 17, ZL_ERR_BAD_ARGUMENT},
        {"\x11", -1, reply, 17, ZL_ERR_BAD_ARGUMENT},
        {"\x11", 1, reply, 256, ZL_ERR_BAD_ARGUMENT},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZlSendAscii(tcp, c.text, c.length, c.reply, c.endByte), 0);
        EXPECT_EQ(lastErrorCode(), c.code);
    }
    ZlCloseConnection(tcp);
}
