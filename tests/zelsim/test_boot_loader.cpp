// The boot loader behind the pty, walked through with frames and raw writes as a firmware
// update does: reset, model probing, programming mode, the baud change, records, "Done".
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "frame_client.h"
#include "protocol.h"
#include "tests/support/sim_process.h"

namespace zel::test {
namespace {

using namespace std::chrono_literals;
using codec::Op;

const std::vector<std::string> kImage = {
    "S00600004844521B",   "S10710000001A055F2", "S10710040102A055EC", "S10710080203A055E6",
    "S107100C0304A055E0", "S10710100405A055DA", "S10710140506A055D4", "S10710180607A055CE",
    "S107101C0708A055C8", "S10710200809A055C2", "S1071024090AA055BC", "S10710280A0BA055B6",
    "S107102C0B0CA055B0", "S10710300C0DA055AA", "S10710340D0EA055A4", "S10710380E0FA0559E",
    "S107103C0F10A05598", "S10710401011A05592", "S9030000FC"};

uint16_t statusOf(FrameClient& c, Op op, std::vector<uint8_t> body) {
    const auto reply = c.call(request(op, std::move(body)));
    return reply ? reply->status : 0xFFFF;
}

std::vector<uint8_t> programmingMode(std::vector<uint8_t> packet) {
    packet.insert(packet.begin(), 20);
    return packet;
}
const std::vector<uint8_t> kCpuRequest = programmingMode({1, 5, 0x69, 0x86, 3, 0x0D, 0xFF});
const std::vector<uint8_t> kCommRequest = programmingMode({1, 4, 0x69, 6, 0x90, 0xFF});

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class BootLoaderWalk : public ::testing::Test {
protected:
    std::string out = (std::filesystem::temp_directory_path() /
                       ("zelsim-firmware-" + std::to_string(::getpid()))).string();
    void TearDown() override { std::filesystem::remove(out); }
};

}  // namespace

TEST_F(BootLoaderWalk, ProbesTheModelEntersProgrammingModeAndTakesTheImage) {
    SimProcess sim({"--pty", "--baud", "9600", "--firmware-out", out, "--boot-model", "14"});
    auto line = FrameClient::serial(sim.ptyPath(), B9600);
    EXPECT_EQ(statusOf(line, Op::PutStatus, i32s({8})), 0);
    // The model register holds 5, which no firmware fits: 11 and 12 are refused, 14 is taken.
    const int32_t probes[][2] = {{11, 203}, {12, 203}, {14, 0}};
    for (const auto& [code, status] : probes)
        EXPECT_EQ(statusOf(line, Op::PutRegister, i32s({13008, code})), status) << code;
    EXPECT_EQ(line.call(request(Op::GetRegister, i32s({13008})))->body, i32s({14}));

    EXPECT_EQ(line.call(request(Op::SendData, kCommRequest))->body,
              std::vector<uint8_t>({3, 'g', 0x98, 0xFF}));
    EXPECT_EQ(line.call(request(Op::SendData, kCpuRequest))->body,
              std::vector<uint8_t>({3, 'd', 0x9B, 0xFF}));

    line.sendRaw("\x11");
    EXPECT_EQ(line.receiveRaw('\x11', 2s), "BOOT LOADER READY\x11");
    line.sendRaw("3");
    EXPECT_EQ(line.receiveRaw('3', 2s), "3");
    line.setSpeed(B38400);
    line.sendRaw("\x11");
    EXPECT_EQ(line.receiveRaw('\x11', 2s), "BOOT LOADER READY\x11");

    line.sendRaw(kImage[0]);
    EXPECT_EQ(line.receiveRaw('\x13', 2s), "\x13");
    EXPECT_EQ(line.receiveRaw('\n', 2s), "ERASED 00000010\r\n");
    std::string pacing;
    for (size_t i = 1; i < kImage.size(); ++i) {
        line.sendRaw("\x11");
        pacing += line.receiveRaw('\x11', 2s);
        line.sendRaw(kImage[i] + "\r\n");
        pacing += line.receiveRaw('\x13', 2s);
    }
    // After the 16th data record the XON's answer reports the count.
    std::string expectedPacing;
    for (int i = 0; i < 16; ++i) expectedPacing += "\x11\x13";
    EXPECT_EQ(pacing, expectedPacing + "DATA 16 RECORDS\r\n\x11\x13\x11\x13");
    // The XON that follows the termination record, as after every record, is still answered;
    // the verdict comes after it.
    line.sendRaw("\x11");
    EXPECT_EQ(line.receiveRaw('\x11', 2s), "\x11");
    EXPECT_EQ(line.receiveRaw('\n', 2s), "VERIFIED\r\n");
    EXPECT_EQ(line.receiveRaw('\n', 2s), "Done\r\n");

    std::string expected;
    for (const std::string& record : kImage) expected += record + "\n";
    EXPECT_EQ(fileText(out), expected);
    // The module runs its new firmware and speaks frames again at the line's usual rate.
    line.setSpeed(B9600);
    EXPECT_EQ(statusOf(line, Op::GetStatus, {}), 0);
}

TEST_F(BootLoaderWalk, AModuleStillInItsBootLoaderRefusesFramesAndFailsAtTheChosenLine) {
    SimProcess sim({"--pty", "--firmware-out", out, "--in-boot-loader", "170",
                    "--boot-fail-line", "3"});
    auto line = FrameClient::serial(sim.ptyPath(), B9600);
    EXPECT_EQ(statusOf(line, Op::PutStatus, i32s({8})), 170);
    line.sendRaw("\x11");
    EXPECT_EQ(line.receiveRaw('\x11', 2s), "BOOT LOADER READY\x11");
    line.sendRaw(kImage[0]);
    EXPECT_EQ(line.receiveRaw('\n', 2s), "\x13" "ERASED 00000010\r\n");
    line.sendRaw(kImage[1]);
    EXPECT_EQ(line.receiveRaw('\x13', 2s), "\x13");
    line.sendRaw(kImage[2]);
    EXPECT_EQ(line.receiveRaw('\x13', 300ms), "");
    EXPECT_EQ(fileText(out), kImage[0] + "\n" + kImage[1] + "\n");
}

TEST_F(BootLoaderWalk, A7400InItsBootLoaderWakesOnlyToA3At57600) {
    SimProcess sim({"--pty", "--firmware-out", out, "--boot-module", "7400", "--in-boot-loader",
                    "206"});
    auto line = FrameClient::serial(sim.ptyPath(), B9600);
    line.sendRaw("3\x11");
    EXPECT_EQ(line.receiveRaw('\x11', 300ms), "");
    line.setSpeed(B57600);
    line.sendRaw("3");
    EXPECT_EQ(line.receiveRaw('\n', 2s), "7400 BOOT\r\n");
    line.setSpeed(B9600);
    line.sendRaw("\x11");
    EXPECT_EQ(line.receiveRaw('\x11', 2s), "BOOT LOADER READY\x11");
}

}  // namespace zel::test
