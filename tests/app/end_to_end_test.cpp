// The monitor's connection against the real library and a running simulator, over every kind
// of link, as a user's settings choose it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstdlib>

#include "link/connection_manager.h"
#include "link/dynamic_zel_library.h"
#include "link/host_resolution.h"
#include "recording_view.h"
#include "tests/support/sim_process.h"

using namespace zel;
using zel::test::RecordingView;
using zel::test::SimProcess;

namespace {

const std::string kDemo = ZELSIM_DEMO_SCENARIO;

class EndToEnd : public ::testing::Test {
protected:
    DynamicZelLibrary lib{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    AppState state;
    RecordingView view;
    ConnectionManager manager{state, lib, view};

    void SetUp() override {
        ASSERT_TRUE(lib.isLoaded()) << lib.loadError().toStdString();
        state.settings.CommTimeout = 1000;
        state.settings.BaudRate = 19200;
        state.dde.UpdateInterval = 250;
    }
    void TearDown() override {
        if (state.connection.CommHandle != 0) lib.ZlCloseConnection(state.connection.CommHandle);
        for (const char* v :
             {"ZELCOM_TCP_PORT", "ZELCOM_UDP_PORT", "ZELCOM_COMM1", "ZELCOM_ZELNET_PORT"})
            ::unsetenv(v);
    }
    void expectDemoController() {
        EXPECT_TRUE(state.connection.Connected);
        EXPECT_TRUE(state.connection.LinkConfigured);
        EXPECT_EQ(state.connection.ModelCode, 5);
        EXPECT_TRUE(state.connection.EATypeController);
        EXPECT_EQ(state.connection.Counts.FlagCount(), 64);
        EXPECT_EQ(state.connection.Counts.ServoCount(), 4);
        EXPECT_EQ(state.connection.Counts.AnalogInCount(), 8);
        EXPECT_EQ(state.connection.TaskCount, 32);
    }
    void useNetwork(int commType, const char* host) {
        state.settings.CommType = commType;
        state.settings.ControllerHost = QString::fromLatin1(host);
        resolveControllerHost(state.settings);
    }
};

int adapterIndexOfLoopback(ZelLibrary& lib) {
    AdapterList addresses{}, masks{};
    int32_t count = 0;
    lib.ZlGetAvailableAdaptersIPList(addresses, masks, count);
    for (int i = 0; i < count; ++i)
        if (addresses[static_cast<size_t>(i)] == static_cast<int32_t>(htonl(INADDR_LOOPBACK)))
            return i + 1;
    return 0;
}

}  // namespace

TEST_F(EndToEnd, TcpAndUdpByAddressAndByHostName) {
    SimProcess sim({"--scenario", kDemo, "--tcp", "0", "--udp", "0"});
    ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
    ::setenv("ZELCOM_UDP_PORT", std::to_string(sim.udpPort()).c_str(), 1);
    const std::tuple<int, const char*, QString> cases[] = {
        {2, "127.0.0.1", QStringLiteral("TCP/IP 127.0.0.1")},
        {2, "localhost", QStringLiteral("TCP/IP 127.0.0.1 - localhost")},
        {1, "127.0.0.1", QStringLiteral("UDP 127.0.0.1")},
        {1, "localhost", QStringLiteral("UDP 127.0.0.1 - localhost")},
    };
    for (const auto& [commType, host, link] : cases) {
        useNetwork(commType, host);
        EXPECT_FALSE(manager.CheckComm());
        EXPECT_EQ(view.status, QStringLiteral("Connected to ") + link);
        EXPECT_EQ(view.title, QStringLiteral("ZEL Monitor V3.6 - ") + link);
        expectDemoController();
    }
}

TEST_F(EndToEnd, SerialLineFindsTheControllersBaudRate) {
    SimProcess sim({"--scenario", kDemo, "--pty", "--baud", "38400"});
    ::setenv("ZELCOM_COMM1", sim.ptyPath().c_str(), 1);
    state.settings.CommType = 3;
    state.settings.BaudRate = 9600;
    state.settings.CommTimeout = 150;
    EXPECT_FALSE(manager.CheckComm());
    EXPECT_EQ(state.settings.BaudRate, 38400);
    EXPECT_EQ(view.status, QStringLiteral("Connected to COMM1 Baud 38400"));
    expectDemoController();
}

TEST_F(EndToEnd, ZelNetTellsTwoNodesApartByNumber) {
    const std::string base = std::to_string(test::freeUdpPort() - 3);
    SimProcess node3({"--scenario", kDemo, "--zelnet-node", "3", "--zelnet-base", base});
    SimProcess node4({"--zelnet-node", "4", "--zelnet-base", base});
    ::setenv("ZELCOM_ZELNET_PORT", base.c_str(), 1);
    state.settings.CommType = 0;
    state.settings.HostNode = 1;
    state.settings.AdapterIndex = adapterIndexOfLoopback(lib);
    ASSERT_GT(state.settings.AdapterIndex, 0);

    state.settings.TargetNode = 3;
    EXPECT_FALSE(manager.CheckComm());
    EXPECT_EQ(view.status, QStringLiteral("Connected to Node 3"));
    expectDemoController();

    state.settings.TargetNode = 4;  // the default controller, not the demo one
    EXPECT_FALSE(manager.CheckComm());
    EXPECT_EQ(view.status, QStringLiteral("Connected to Node 4"));
    EXPECT_NE(state.connection.Counts.FlagCount(), 64);
}

TEST_F(EndToEnd, AStoppedSimulatorGivesTheCountedFailurePath) {
    SimProcess sim({"--scenario", kDemo, "--tcp", "0"});
    ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
    useNetwork(2, "127.0.0.1");
    state.settings.CommTimeout = 200;
    sim.pause();
    EXPECT_TRUE(manager.CheckComm());
    EXPECT_TRUE(view.status.isEmpty());  // the first failure is silent
    EXPECT_TRUE(manager.CheckComm());
    EXPECT_TRUE(view.status.startsWith(QStringLiteral(
        "( 1 ) Failed to make connection, please configure -  No reply from controller")))
        << view.status.toStdString();
    sim.resume();
    EXPECT_FALSE(manager.CheckComm());
    EXPECT_EQ(view.status, QStringLiteral("Connected to TCP/IP 127.0.0.1"));
}
