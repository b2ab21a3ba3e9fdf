// The boot loader behind the pty, woken as a 7400 wakes. The walk a firmware update makes
// through it (probing, programming mode, the baud change, records, a failing line) is checked
// through the real update in flash/firmware_update_test.
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>

#include "frame_client.h"
#include "tests/support/sim_process.h"

namespace zel::test {
namespace {

using namespace std::chrono_literals;

class BootLoaderWalk : public ::testing::Test {
protected:
    std::string out = (std::filesystem::temp_directory_path() /
                       ("zelsim-firmware-" + std::to_string(::getpid()))).string();
    void TearDown() override { std::filesystem::remove(out); }
};

}  // namespace

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
