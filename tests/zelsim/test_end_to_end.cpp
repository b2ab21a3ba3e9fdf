// The real zelsim binary: its fault flags, paced serial lines, restart and command line. Each
// link answering the one controller is checked through the library in zelcom/sim_calls_test,
// a line's required baud rate by the monitor finding it in app/end_to_end_test.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "frame_client.h"
#include "protocol.h"
#include "tests/support/sim_process.h"
#include "wire.h"

namespace zel::test {
namespace {

using namespace std::chrono_literals;
using codec::Op;

TEST(EndToEndFaults, LatencyDropsErrorRangesAndClosingFollowTheFlags) {
    SimProcess sim({"--tcp", "0", "--latency", "100", "--drop-every", "3", "--close-after", "4",
                    "--error-range", "100:120:205"});
    auto tcp = FrameClient::tcp(sim.tcpPort());
    const auto start = std::chrono::steady_clock::now();
    const auto refused = tcp.call(request(Op::GetRegister, i32s({110})));
    ASSERT_TRUE(refused.has_value());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 90ms);
    EXPECT_EQ(refused->status, 205);
    EXPECT_TRUE(tcp.call(request(Op::GetRegister, i32s({1}))).has_value());
    EXPECT_FALSE(tcp.call(request(Op::GetRegister, i32s({1})), 400ms).has_value());
    EXPECT_TRUE(tcp.call(request(Op::GetRegister, i32s({1}))).has_value());
    EXPECT_FALSE(tcp.receive(1s).has_value());
    EXPECT_TRUE(tcp.closedByPeer());
    // A new link starts with a fresh budget.
    EXPECT_TRUE(FrameClient::tcp(sim.tcpPort()).call(request(Op::GetStatus)).has_value());
}

// Only lower bounds: a loaded machine makes a round trip slower, never faster than the line.
TEST(EndToEndSerial, APacedLineTakesAtLeastItsBytesOnTheWire) {
    const struct {
        std::vector<std::string> args;
        unsigned clientSpeed;
        std::chrono::microseconds perByte;  // 10 bits at the paced rate
        std::chrono::milliseconds turnaround;
    } cases[] = {
        {{"--line-rate", "9600"}, B38400, 1041us, 0ms},  // the given rate, whatever the line's
        {{"--line-rate", "line"}, B1200, 8333us, 0ms},   // the rate the client set
        {{"--line-rate", "9600", "--turnaround", "200"}, B9600, 1041us, 200ms},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--pty"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SimProcess sim(args);
        auto line = FrameClient::serial(sim.ptyPath(), c.clientSpeed);
        const codec::Frame read = request(Op::GetRegister, i32s({1}));
        const auto start = std::chrono::steady_clock::now();
        const auto reply = line.call(read);
        const auto took = std::chrono::steady_clock::now() - start;
        ASSERT_TRUE(reply.has_value()) << c.args[1];
        EXPECT_EQ(reply->status, 0);
        const size_t onWire = codec::encodeFrame(read).size() + codec::encodeFrame(*reply).size();
        EXPECT_GE(took, c.perByte * onWire + c.turnaround) << c.args.back();
    }
}

TEST(SimProcessControl, RestartKeepsThePortAndTerminateExitsCleanly) {
    const std::string link = "/tmp/zelsim-ctl-" + std::to_string(::getpid());
    SimProcess sim({"--tcp", "0", "--pty", link});
    const uint16_t port = sim.tcpPort();
    sim.restart();
    EXPECT_EQ(sim.tcpPort(), port);
    EXPECT_TRUE(FrameClient::tcp(port).call(request(Op::GetStatus)).has_value());
    const int status = sim.terminate();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    struct stat st {};
    EXPECT_NE(::lstat(link.c_str(), &st), 0);  // the pty link is gone with the simulator
}

TEST(CommandLine, BadScenarioExitsWithTwoAndSaysWhy) {
    const std::string path = "/tmp/zelsim-bad-" + std::to_string(::getpid()) + ".json";
    std::ofstream(path) << R"({"io": {"servos": 100}})";
    const std::string command = SimProcess::binaryPath() + " --scenario " + path + " 2>&1";
    FILE* p = ::popen(command.c_str(), "r");
    char buffer[512] = {};
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, p);
    const int status = ::pclose(p);
    EXPECT_EQ(std::string(buffer, n), "zelsim: " + path + ": io.servos: must be 0..99\n");
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_THROW(SimProcess({"--scenario", path}), std::runtime_error);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace zel::test
