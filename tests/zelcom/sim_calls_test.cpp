// Every call of the library against the simulator, over every kind of link.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "scripted_peer.h"
#include "tests/support/sim_process.h"
#include "zelcom.h"

using zel::test::lastErrorCode;
using zel::test::SimProcess;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kDemo = ZELSIM_DEMO_SCENARIO;

int loopbackAdapter() {
    int32_t addresses[ZL_MAX_ADAPTERS], masks[ZL_MAX_ADAPTERS], count = 0;
    ZlGetAvailableAdaptersIPList(addresses, masks, &count);
    for (int i = 0; i < count; ++i)
        if (addresses[i] == static_cast<int32_t>(htonl(INADDR_LOOPBACK))) return i + 1;
    return 0;
}

std::string lastErrorText() {
    ZlErrorInfo info;
    ZlGetErrorInfo(0, &info);
    std::string text(info.text, sizeof info.text);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

// A simulator with the demo scenario and a library connection to it over one kind of link.
class SimLink : public ::testing::TestWithParam<std::string> {
protected:
    std::unique_ptr<SimProcess> sim;
    int32_t h = 0;

    void start(std::vector<std::string> linkArgs) {
        linkArgs.insert(linkArgs.begin(), {"--scenario", kDemo});
        sim = std::make_unique<SimProcess>(linkArgs);
    }

    void SetUp() override {
        const std::string link = GetParam();
        if (link == "tcp") {
            start({"--tcp", "0"});
            ::setenv("ZELCOM_TCP_PORT", std::to_string(sim->tcpPort()).c_str(), 1);
            h = zel::test::openLoopbackTcp(1000);
        } else if (link == "udp") {
            start({"--udp", "0"});
            ::setenv("ZELCOM_UDP_PORT", std::to_string(sim->udpPort()).c_str(), 1);
            h = ZlOpenConnection(ZL_KIND_UDP, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)));
        } else if (link == "pty") {
            start({"--pty"});
            ::setenv("ZELCOM_COMM2", sim->ptyPath().c_str(), 1);
            h = ZlOpenConnection(ZL_KIND_SERIAL, 2, 0);
            ASSERT_EQ(ZlInitConnection(h, 115200, 0, 8, 0), 1);
        } else {
            const std::string base = std::to_string(zel::test::freeUdpPort() - 5);
            start({"--zelnet-node", "5", "--zelnet-base", base});
            ::setenv("ZELCOM_ZELNET_PORT", base.c_str(), 1);
            ASSERT_EQ(ZlSetAdapter(loopbackAdapter()), 1);
            h = ZlOpenConnection(ZL_KIND_ZELNET, 9, 5);
        }
        ASSERT_GT(h, 0) << lastErrorText();
        ASSERT_EQ(ZlSetConnectionTimeout(h, 1000), 1);
    }
    void TearDown() override {
        ZlCloseConnection(h);
        for (const char* v :
             {"ZELCOM_TCP_PORT", "ZELCOM_UDP_PORT", "ZELCOM_COMM2", "ZELCOM_ZELNET_PORT"})
            ::unsetenv(v);
    }
};

}  // namespace

TEST_P(SimLink, RegistersBlocksAndTheirErrors) {
    int32_t value = 0;
    ASSERT_EQ(ZlGetRegister(h, 2, &value), 1);
    EXPECT_EQ(value, 1234);
    ASSERT_EQ(ZlPutRegister(h, 17, -99), 1);
    ASSERT_EQ(ZlGetRegister(h, 17, &value), 1);
    EXPECT_EQ(value, -99);

    int32_t sixteen[16];
    ASSERT_EQ(ZlGetRegister16(h, 1, sixteen), 1);
    EXPECT_EQ(sixteen[1], 1234);
    EXPECT_EQ(sixteen[16 - 1], 0);
    int32_t fifty[50];
    ASSERT_EQ(ZlGetRegister50(h, 3, fifty), 1);  // registers 101..150
    EXPECT_EQ(fifty[0], 0);
    ASSERT_EQ(ZlGetRegister50(h, 1, fifty), 1);
    EXPECT_EQ(fifty[2], -5);    // register 3
    EXPECT_EQ(fifty[16], -99);  // register 17

    EXPECT_EQ(ZlGetRegister(h, 8500 + 9, &value), 0);  // the demo has 8 analog inputs
    EXPECT_EQ(lastErrorCode(), ZL_ERR_NOT_PRESENT);
    EXPECT_EQ(ZlGetRegister(h, 40001, &value), 0);
    ZlErrorInfo info;
    ASSERT_EQ(ZlGetErrorInfo(h, &info), 1);  // the connection keeps its own last error too
    EXPECT_EQ(info.code, ZL_ERR_ILLEGAL_REGISTER);
    EXPECT_EQ(std::string(info.text, sizeof info.text),
              std::string("Illegal register").append(sizeof info.text - 16, ' '));

    // A call that succeeds leaves no old reason behind for a later failure to borrow.
    ASSERT_EQ(ZlGetRegister(h, 2, &value), 1);
    EXPECT_EQ(lastErrorCode(), 0);
    EXPECT_EQ(lastErrorText(), "No error");
}

TEST_P(SimLink, VRegistersFlagsAndWords) {
    ZlVRegister record{};
    record.number = 36001;
    record.kind = 16;
    record.format = 6;
    ASSERT_EQ(ZlGetVRegister(h, &record), 1);
    EXPECT_DOUBLE_EQ(record.value, 2.5);
    record.value = 3.25;
    ASSERT_EQ(ZlSetVRegister(h, &record), 1);
    record.value = 0;
    ASSERT_EQ(ZlGetVRegister(h, &record), 1);
    EXPECT_DOUBLE_EQ(record.value, 3.25);

    // 64 flags: flag n is bit (n - 1) % 32 of register 13021 + (n - 1) / 32.
    ASSERT_EQ(ZlPutFlag(h, 35, 1), 1);
    int32_t word = 0;
    ASSERT_EQ(ZlGetRegister(h, 13022, &word), 1);
    EXPECT_TRUE(word & (1 << 2));

    int32_t model = 0, second = 0, config = 0;
    ASSERT_EQ(ZlGetModel(h, &model, &second), 1);
    EXPECT_EQ(model, 5);
    EXPECT_EQ(second, 1);
    ASSERT_EQ(ZlPutConfig(h, 5), 1);
    ASSERT_EQ(ZlGetConfig(h, &config), 1);
    EXPECT_EQ(config, 5);
    int32_t io[7], misc[4];
    ASSERT_EQ(ZlGetIoCount(h, io), 1);
    EXPECT_EQ(io[0], 64);
    EXPECT_EQ(io[4], 4);
    ASSERT_EQ(ZlGetMiscIoCount(h, misc), 1);
    EXPECT_EQ(misc[1], 2);
}

TEST_P(SimLink, RunControlThroughTheStatusWordTaskBanksAndRawStatus) {
    int32_t status = 0;
    ASSERT_EQ(ZlPutStatus(h, 8), 1);  // reset
    ASSERT_EQ(ZlGetStatus(h, &status), 1);
    EXPECT_EQ(status & 9, 9);
    ASSERT_EQ(ZlPutStatus(h, status & ~8), 1);  // start
    ASSERT_EQ(ZlGetStatus(h, &status), 1);
    EXPECT_EQ(status & 1, 0);

    ZlTaskBank bank{};
    ASSERT_EQ(ZlGetTaskBank(h, 1, &bank), 1);
    EXPECT_EQ(bank.stopped, 0);
    EXPECT_GE(bank.steps[0], 1);      // the root task runs a step
    ASSERT_EQ(ZlPutStatus(h, 0), 1);  // stop
    ASSERT_EQ(ZlGetStatus(h, &status), 1);
    EXPECT_EQ(status & 1, 1);

    // The raw status packet comes back whole.
    const char request[] = {
        1, 4, 35, static_cast<char>(255), static_cast<char>(221), static_cast<char>(255)};
    char reply[ZL_SEND_DATA_REPLY_SIZE] = {};
    ASSERT_EQ(ZlSendData(h, 20, request, sizeof request, reply), 1);
    const int length = static_cast<uint8_t>(reply[0]) + 1;
    EXPECT_GE(length, 12);
    EXPECT_EQ(static_cast<uint8_t>(reply[1]), 45);
    EXPECT_EQ(static_cast<uint8_t>(reply[length - 1]), 255);
}

TEST_P(SimLink, DataTableRowsGoBothWays) {
    int32_t rows = 0, columns = 0;
    ASSERT_EQ(ZlGetDataTableDim(h, &rows, &columns), 1);
    EXPECT_EQ(rows, 10);
    EXPECT_EQ(columns, 8);
    int32_t row[8];
    ASSERT_EQ(ZlGetDataTableRow(h, 10, 1, 8, row), 1);
    EXPECT_EQ(row[0], 65535);
    EXPECT_EQ(row[2], 40000);
    const int16_t written[8] = {-25536, 1, 2, 3, 4, 5, 6, 7};
    ASSERT_EQ(ZlPutDataTableRow(h, 2, 1, 8, written), 1);
    ASSERT_EQ(ZlGetDataTableRow(h, 2, 1, 8, row), 1);
    EXPECT_EQ(row[0], 40000);
    EXPECT_EQ(row[7], 7);
    EXPECT_EQ(ZlGetDataTableRow(h, 11, 1, 8, row), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_BAD_TABLE_ROW);
}

TEST_P(SimLink, ProgramsTravelBothWaysAndBadFilesAreRefused) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zelcom-" + GetParam() + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string uploaded = (dir / "up.DSO").string();
    ZlTransferResult result{};
    ASSERT_EQ(ZlUpload(h, uploaded.c_str(), &result), 1) << lastErrorText();
    EXPECT_EQ(result.bytes, static_cast<int32_t>(std::filesystem::file_size(uploaded)));
    EXPECT_GT(result.bytes, 8);

    result = {};
    ASSERT_EQ(ZlDownload(h, uploaded.c_str(), &result), 1) << lastErrorText();
    EXPECT_EQ(result.errors, 0);

    const std::string junk = (dir / "junk.DSO").string();
    std::ofstream(junk) << "not a program";
    EXPECT_EQ(ZlDownload(h, junk.c_str(), &result), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_PROGRAM_REJECTED);
    EXPECT_EQ(ZlDownload(h, (dir / "missing.DSO").string().c_str(), &result), 0);
    EXPECT_EQ(lastErrorCode(), ZL_ERR_FILE);
    std::filesystem::remove_all(dir);
}

TEST_P(SimLink, AStoppedControllerFailsEveryCallWithinItsTimeout) {
    ASSERT_EQ(ZlSetConnectionTimeout(h, 200), 1);
    sim->pause();
    for (int i = 0; i < 3; ++i) {
        int32_t value = 0;
        const auto start = Clock::now();
        EXPECT_EQ(ZlGetRegister(h, 1, &value), 0);
        EXPECT_EQ(lastErrorCode(), ZL_ERR_TIMEOUT);
        // Far above the timeout: only a call that waits for the stopped controller fails it.
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    }
    sim->resume();
    // The replies the controller owes are late now; none of them answers the next call.
    ASSERT_EQ(ZlPutRegister(h, 20, 4242), 1);
    int32_t value = 0;
    ASSERT_EQ(ZlGetRegister(h, 20, &value), 1);
    EXPECT_EQ(value, 4242);
}

INSTANTIATE_TEST_SUITE_P(EveryLink, SimLink, ::testing::Values("tcp", "udp", "pty", "zelnet"),
                         [](const auto& info) { return info.param; });

TEST(SimFaults, CorruptedRepliesAreNeverTakenForAnswers) {
    SimProcess sim({"--scenario", kDemo, "--tcp", "0", "--corrupt-rate", "1"});
    zel::test::TcpPortOverride port(sim.tcpPort());
    const int32_t h = zel::test::openLoopbackTcp(150);
    ASSERT_GT(h, 0);
    for (int i = 0; i < 5; ++i) {
        int32_t value = -1;
        EXPECT_EQ(ZlGetRegister(h, 2, &value), 0);
        EXPECT_EQ(value, -1);
    }
    ZlCloseConnection(h);
}
