// What a long-running monitor needs from the library: no leaked descriptors, descriptors above
// 1024, and a serial line whose far end vanishes failing at once rather than spinning.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "scripted_peer.h"
#include "wire.h"
#include "zelcom.h"

using namespace zel;
using namespace zel::test;

namespace {

size_t openDescriptors() {
    size_t n = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

ScriptedPeer::Script answerEverything(int32_t value) {
    return [value](int fd, const codec::Frame& request) {
        codec::ByteWriter w;
        w.i32(value);
        ScriptedPeer::writeAll(fd, ScriptedPeer::replyTo(request, w.take()));
    };
}

}  // namespace

TEST(LinkResources, AThousandOpenCloseCyclesLeaveTheDescriptorsWhereTheyWere) {
    ScriptedPeer peer(answerEverything(3));
    TcpPortOverride port(peer.port());
    const size_t before = openDescriptors();
    for (int i = 0; i < 1000; ++i) {
        const int32_t tcp = openLoopbackTcp(1000);
        ASSERT_GT(tcp, 0);
        int32_t value = 0;
        ASSERT_EQ(ZlGetRegister(tcp, 1, &value), 1);
        ASSERT_EQ(ZlCloseConnection(tcp), 1);
        const int32_t udp = ZlOpenConnection(ZL_KIND_UDP, 0, 0x0100007F);
        ASSERT_GT(udp, 0);
        ASSERT_EQ(ZlCloseConnection(udp), 1);
    }
    ASSERT_TRUE(peer.waitUntilNoConnections(std::chrono::seconds(30)));
    EXPECT_EQ(openDescriptors(), before);
}

TEST(LinkResources, HandlesAreNeverReusedSoAStaleOneFailsCleanly) {
    const int32_t a = ZlOpenConnection(ZL_KIND_UDP, 0, 0x0100007F);
    ASSERT_EQ(ZlCloseConnection(a), 1);
    const int32_t b = ZlOpenConnection(ZL_KIND_UDP, 0, 0x0100007F);
    EXPECT_NE(a, b);
    int32_t value;
    EXPECT_EQ(ZlGetRegister(a, 1, &value), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_BAD_HANDLE);
    EXPECT_EQ(ZlCloseConnection(a), 0);
    EXPECT_EQ(ZlCloseConnection(b), 1);
}

TEST(LinkResources, DescriptorsAbove1024Work) {
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_max < 1200) GTEST_SKIP() << "the hard descriptor limit is below 1200";
    const rlimit saved = limit;
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 4096);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    std::vector<int> filler;
    while (filler.empty() || filler.back() < 1100) filler.push_back(::open("/dev/null", O_RDONLY));

    ScriptedPeer peer(answerEverything(1025));
    TcpPortOverride port(peer.port());
    const int32_t handle = openLoopbackTcp(1000);
    ASSERT_GT(handle, 0);
    int32_t value = 0;
    EXPECT_EQ(ZlGetRegister(handle, 1, &value), 1);
    EXPECT_EQ(value, 1025);
    ZlCloseConnection(handle);

    for (int fd : filler) ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &saved);
}

TEST(LinkResources, ASerialLineWhoseFarEndVanishesFailsAtOnceWithoutSpinning) {
    PseudoTerminal pty;
    ASSERT_FALSE(pty.slave.empty());
    ::setenv("ZELCOM_COMM7", pty.slave.c_str(), 1);
    const int32_t handle = ZlOpenConnection(ZL_KIND_SERIAL, 7, 0);
    ::unsetenv("ZELCOM_COMM7");
    ASSERT_GT(handle, 0);
    ASSERT_EQ(ZlInitConnection(handle, 19200, 0, 8, 0), 1);
    // "At once" is far below the timeout, so that a load on the machine cannot fail it.
    ASSERT_EQ(ZlSetConnectionTimeout(handle, 20000), 1);
    ::close(pty.master);
    pty.master = -1;

    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    int32_t value;
    EXPECT_EQ(ZlGetRegister(handle, 1, &value), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_LINK_LOST);
    EXPECT_EQ(ZlGetRegister(handle, 1, &value), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ::getrusage(RUSAGE_SELF, &after);
    const auto cpuMs = (after.ru_utime.tv_sec - before.ru_utime.tv_sec) * 1000 +
                       (after.ru_utime.tv_usec - before.ru_utime.tv_usec) / 1000;
    EXPECT_LT(cpuMs, 500);
    ZlCloseConnection(handle);
}

TEST(LinkResources, SerialLinesTakeStandardRatesOnlyAndMissingPortsAreNamed) {
    PseudoTerminal pty;
    ::setenv("ZELCOM_COMM3", pty.slave.c_str(), 1);
    const int32_t handle = ZlOpenConnection(ZL_KIND_SERIAL, 3, 0);
    ASSERT_GT(handle, 0);
    EXPECT_EQ(ZlInitConnection(handle, 56800, 0, 8, 0), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_BAUD_RATE);
    EXPECT_EQ(ZlInitConnection(handle, 115200, 0, 8, 0), 1);
    ZlCloseConnection(handle);

    ::setenv("ZELCOM_COMM3", "/nonexistent/tty", 1);
    EXPECT_EQ(ZlOpenConnection(ZL_KIND_SERIAL, 3, 0), 0);
    ::unsetenv("ZELCOM_COMM3");
    ZlErrorInfo info;
    ZlGetErrorInfo(0, &info);
    EXPECT_EQ(info.code, ZL_ERR_OPEN_FAILED);
    EXPECT_NE(std::string(info.text, 255).find("/nonexistent/tty"), std::string::npos);
}
