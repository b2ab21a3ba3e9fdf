// The monitor's connection against the real library and a running simulator, over every kind
// of link, as a user's settings choose it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>

#include "app/main_window_model.h"
#include "link/connection_manager.h"
#include "link/dynamic_zel_library.h"
#include "link/host_resolution.h"
#include "recording_view.h"
#include "settings/first_run.h"
#include "setup/setup_model.h"
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
    };
    for (const auto& [commType, host, link] : cases) {
        useNetwork(commType, host);
        EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);
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
    EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);
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
    EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);
    EXPECT_EQ(view.status, QStringLiteral("Connected to Node 3"));
    expectDemoController();

    state.settings.TargetNode = 4;  // the default controller, not the demo one
    EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);
    EXPECT_EQ(view.status, QStringLiteral("Connected to Node 4"));
    EXPECT_NE(state.connection.Counts.FlagCount(), 64);
}

// Each cause a user can meet, on every kind of link, produced for real: the second failed
// attempt (the first is silent) names that cause, not what a later call on a dead handle or a
// clean-up after the failure said.
TEST_F(EndToEnd, EveryFailedAttemptNamesItsOwnCause) {
    const std::string refusedPort = std::to_string(test::freeTcpPort());
    const std::string silentUdpPort = std::to_string(test::freeUdpPort());
    const std::string silentBase = std::to_string(test::freeUdpPort() - 3);
    SimProcess silentLine({"--scenario", kDemo, "--pty"});
    silentLine.pause();
    AdapterList addresses{}, masks{};
    int32_t adapters = 0;
    lib.ZlGetAvailableAdaptersIPList(addresses, masks, adapters);
    ASSERT_LT(adapters, 10);
    const int loopback = adapterIndexOfLoopback(lib);

    struct Case {
        const char* link;
        std::function<void(AppState&)> choose;
        QString cause;
    };
    const Case cases[] = {
        {"TCP/IP to a closed port",
         [&](AppState& s) {
             ::setenv("ZELCOM_TCP_PORT", refusedPort.c_str(), 1);
             s.settings.CommType = 2;
             s.settings.ControllerIP = QStringLiteral("127.0.0.1");
         },
         QStringLiteral("Cannot open connection: 127.0.0.1:%1: Connection refused")
             .arg(QString::fromStdString(refusedPort))},
        {"UDP to a closed port",
         [&](AppState& s) {
             ::setenv("ZELCOM_UDP_PORT", silentUdpPort.c_str(), 1);
             s.settings.CommType = 1;
             s.settings.ControllerIP = QStringLiteral("127.0.0.1");
         },
         QStringLiteral("Connection lost: Connection refused")},
        {"ZelNET node 0",
         [&](AppState& s) {
             s.settings.CommType = 0;
             s.settings.AdapterIndex = loopback;
             s.settings.TargetNode = 0;
         },
         QStringLiteral("Invalid argument: node numbers are 1..32767")},
        {"ZelNET through adapter 10",
         [&](AppState& s) {
             s.settings.CommType = 0;
             s.settings.AdapterIndex = 10;
         },
         QStringLiteral("No such network adapter: adapter 10 of %1").arg(adapters)},
        {"ZelNET node nobody answers",
         [&](AppState& s) {
             ::setenv("ZELCOM_ZELNET_PORT", silentBase.c_str(), 1);
             s.settings.CommType = 0;
             s.settings.AdapterIndex = loopback;
         },
         QStringLiteral("No reply from controller")},
        {"serial port without a device",
         [&](AppState& s) {
             ::setenv("ZELCOM_COMM1", "/nonexistent/ttyZEL", 1);
             s.settings.CommType = 3;
         },
         QStringLiteral("Cannot open connection: /nonexistent/ttyZEL: No such file or directory")},
        {"serial line with a silent controller",
         [&](AppState& s) {
             ::setenv("ZELCOM_COMM1", silentLine.ptyPath().c_str(), 1);
             s.settings.CommType = 3;
         },
         QStringLiteral("No reply from controller")},
    };
    for (const Case& c : cases) {
        AppState s;
        s.settings.CommTimeout = 100;
        s.settings.BaudRate = 19200;
        s.settings.HostNode = 1;
        s.settings.TargetNode = 3;
        s.settings.HostIsIP = true;
        c.choose(s);
        RecordingView v;
        ConnectionManager m{s, lib, v};
        EXPECT_EQ(m.CheckComm(), CommCheck::Failed) << c.link;
        EXPECT_EQ(m.CheckComm(), CommCheck::Failed) << c.link;
        EXPECT_EQ(v.status.toStdString(), ("( 1 ) Failed to make connection, please configure -  " +
                                           c.cause.leftJustified(255))
                                              .toStdString())
            << c.link;
        EXPECT_EQ(s.connection.CommHandle, 0) << c.link;
    }
}

// The setup dialog closed with its close box after only the address was changed to one where
// nothing answers: the monitor keeps retrying and counts the failures as after any lost link.
TEST_F(EndToEnd, ACloseBoxAfterAnAddressChangeKeepsRetrying) {
    SimProcess sim({"--scenario", kDemo, "--tcp", "0"});
    const QString port = QString::number(sim.tcpPort());
    ::setenv("ZELCOM_TCP_PORT", port.toLatin1().constData(), 1);
    QTemporaryDir dir;
    StatusLog log{dir.filePath(QStringLiteral("zelmon.log"))};
    settings::SettingsStore store{dir.filePath(QStringLiteral("settings.ini"))};
    store.load(settings::firstRunSettings());
    MainWindowModel main{state, store, lib, log, view};
    useNetwork(2, "127.0.0.1");
    state.flags.NoCommunication = true;
    main.pollingTick();
    ASSERT_EQ(view.status, QStringLiteral("Connected to TCP/IP 127.0.0.1"));
    main.pollingTick();

    SetupModel setup{state, lib, main};
    state.flags.SetupOpen = true;
    setup.load();
    setup.connection().setText(SetupField::Text3, QStringLiteral("127.0.0.2"));
    setup.connection().leave(SetupField::Text3);
    setup.unload();

    // Timer1, restarted at 10 ms, ticks before Timer2; after that Timer1 goes on alone.
    main.pollingTick();
    main.monitoring().reconnectTick();
    EXPECT_TRUE(state.flags.NoCommunication);
    const QString failure =
        QStringLiteral(" ) Failed to make connection, please configure -  ") +
        QStringLiteral("Cannot open connection: 127.0.0.2:%1: Connection refused")
            .arg(port)
            .leftJustified(255);
    main.pollingTick();  // the first failure since the last success is silent
    main.pollingTick();
    EXPECT_EQ(view.status.toStdString(), ("( 1" + failure).toStdString());
    main.pollingTick();
    EXPECT_EQ(view.status.toStdString(), ("( 2" + failure).toStdString());
    EXPECT_TRUE(state.flags.NoCommunication);
}
