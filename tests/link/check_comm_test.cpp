#include <gtest/gtest.h>

#include <QtEndian>
#include <functional>

#include "link/connection_manager.h"
#include "link/fake/fake_zel_library.h"
#include "link/host_resolution.h"
#include "recording_ui.h"

namespace zel {
namespace {

constexpr int32_t H = FakeZelLibrary::kHandle;

QString init(int32_t baud) {
    return QStringLiteral("ZlInitConnection(%1, %2, 0, 8, 0)").arg(H).arg(baud);
}
const QString kTimeout = QStringLiteral("ZlSetConnectionTimeout(7, 300)");
// The library's error text as the status line shows it, padded to 255 characters.
const QString kReason = QStringLiteral("Cannot open connection") + QString(233, u' ');
// The reason of a failed step, fetched at once.
const QString kErrorInfo = QStringLiteral("ZlGetErrorInfo(7)");

// A dotted address as the open calls receive it: its bytes in network order.
int32_t wireAddress(uint32_t hostOrder) {
    return static_cast<int32_t>(qToBigEndian<quint32>(hostOrder));
}

class CheckCommTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.settings.CommTimeout = 300;
        state.dde.UpdateInterval = 250;
        lib.setModel(1, 0);  // the smallest class: only model and counts are read
        lib.setError(103, "Cannot open connection");
    }

    void useSerial(int32_t port, int32_t baud) {
        state.settings.CommType = port + 2;
        state.settings.BaudRate = baud;
    }

    // A serial line that refuses one rate at set-up, and a controller answering at one rate.
    void controllerAt(int32_t controllerBaud, int32_t refusedBaud = 0) {
        lib.setResponder(ZelCall::InitConnection, [this, refusedBaud](const QVector<int32_t>& a) {
            if (a[1] == refusedBaud) return 0;
            lineBaud = a[1];
            return 1;
        });
        lib.setResponder(ZelCall::GetModel, [this, controllerBaud](const QVector<int32_t>&) {
            return lineBaud == controllerBaud ? 1 : 0;
        });
    }

    AppState state;
    FakeZelLibrary lib;
    RecordingUi ui;
    ConnectionManager manager{state, lib, ui};
    int32_t lineBaud = 0;
};

TEST_F(CheckCommTest, BaudSearchStoresAndShowsTheFirstRateTheControllerAnswers) {
    useSerial(1, 4800);
    controllerAt(38400, 9600);

    EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);

    EXPECT_EQ(
        lib.calls(),
        QStringList({"ZlOpenConnection(1, 1, 0)", init(4800), kTimeout, "ZlGetModel(7)", kErrorInfo,
                     init(9600), kErrorInfo, init(19200), kTimeout, "ZlGetModel(7)", kErrorInfo,
                     init(38400), kTimeout, "ZlGetModel(7)", "ZlGetIoCount(7)"}));
    EXPECT_EQ(state.settings.BaudRate, 38400);
    EXPECT_TRUE(state.settings.AutoBaudSearch);
    EXPECT_EQ(ui.status, "Connected to COMM1 Baud 38400");
    EXPECT_EQ(state.connection.ConnectionCaption, " - COMM1 Baud 38400");
    EXPECT_TRUE(state.connection.Connected);
    EXPECT_FALSE(state.flags.NoCommunication);
}

TEST_F(CheckCommTest, BaudSearchWithNoAnsweringRateFailsAfterAllFive) {
    useSerial(2, 4800);
    controllerAt(2400);

    EXPECT_EQ(manager.CheckComm(), CommCheck::Failed);

    QStringList inits = lib.callsTo(ZelCall::InitConnection);
    EXPECT_EQ(inits, QStringList({init(4800), init(9600), init(19200), init(38400), init(56800),
                                  init(115200)}));
    EXPECT_EQ(lib.calls().last(), "ZlCloseConnection(7)");
    EXPECT_EQ(state.settings.BaudRate, 4800);
    EXPECT_FALSE(state.connection.Connected);
    EXPECT_EQ(state.connection.CommHandle, 0);
}

TEST_F(CheckCommTest, StoredRateRefusedByTheLineFailsWithoutSearching) {
    useSerial(1, 4800);
    controllerAt(19200, 4800);

    EXPECT_EQ(manager.CheckComm(), CommCheck::Failed);

    EXPECT_EQ(lib.calls(), QStringList({"ZlOpenConnection(1, 1, 0)", init(4800), kErrorInfo,
                                        "ZlCloseConnection(7)"}));
}

TEST_F(CheckCommTest, FirstFailureIsSilentAndLaterOnesAreCounted) {
    state.settings.CommType = kCommUdp;
    state.settings.ControllerIP = "10.0.0.7";
    lib.setDefaultResult(ZelCall::OpenConnection, 0);

    EXPECT_EQ(manager.CheckComm(), CommCheck::Failed);
    EXPECT_TRUE(ui.status.isEmpty());
    EXPECT_TRUE(ui.log.contains("interval 100"));
    EXPECT_TRUE(ui.log.contains("timer3"));
    EXPECT_TRUE(state.connection.ConnectFailedBefore);
    EXPECT_TRUE(state.flags.StartPollingPending);

    EXPECT_EQ(manager.CheckComm(), CommCheck::Failed);
    EXPECT_EQ(ui.status, "( 1 ) Failed to make connection, please configure -  " + kReason);
    EXPECT_EQ(manager.CheckComm(), CommCheck::Failed);
    EXPECT_EQ(ui.status, "( 2 ) Failed to make connection, please configure -  " + kReason);
    EXPECT_EQ(lib.callsTo(ZelCall::CloseConnection).size(), 0);  // no handle was ever opened
}

TEST_F(CheckCommTest, CountRestartsAfterResumeAndAtATcpOpen) {
    state.settings.CommType = kCommTcp;
    state.settings.ControllerIP = "10.0.0.7";
    state.connection.ConnectFailedBefore = true;
    state.connection.FailedConnections = -1;  // what resuming monitoring leaves
    lib.setDefaultResult(ZelCall::OpenNetConnection, 0);
    manager.CheckComm();
    EXPECT_EQ(ui.status, "( 0 ) Failed to make connection, please configure -  " + kReason);

    state.connection.FailedConnections = 5;
    lib.setDefaultResult(ZelCall::OpenNetConnection, H);
    lib.queueResults(ZelCall::GetModel, {0});
    manager.CheckComm();
    // The open reset the count before the configuration failed.
    EXPECT_EQ(ui.status, "( 1 ) Failed to make connection, please configure -  " + kReason);
}

TEST_F(CheckCommTest, PreviousConnectionThatWillNotCloseAbortsTheAttempt) {
    useSerial(1, 19200);
    state.connection.CommHandle = 5;
    state.connection.ConnectFailedBefore = true;
    lib.queueResults(ZelCall::CloseConnection, {0});

    EXPECT_EQ(manager.CheckComm(), CommCheck::Failed);

    // The failed close is the reason the status line shows.
    EXPECT_EQ(lib.calls(), QStringList({"ZlCloseConnection(5)", "ZlGetErrorInfo(0)"}));
    EXPECT_EQ(state.connection.CommHandle, 0);
    EXPECT_EQ(ui.status, "( 1 ) Failed to make connection, please configure -  " + kReason);
}

TEST_F(CheckCommTest, FailureDuringRequestedReconnectIsNeitherReportedNorClosed) {
    useSerial(1, 4800);
    controllerAt(19200, 4800);
    state.connection.ConnectFailedBefore = true;
    state.flags.ReconnectPending = true;

    EXPECT_EQ(manager.CheckComm(), CommCheck::Failed);
    EXPECT_TRUE(ui.status.isEmpty());
    EXPECT_EQ(lib.callsTo(ZelCall::CloseConnection).size(), 0);
    EXPECT_EQ(state.connection.CommHandle, H);

    state.flags.ReconnectPending = false;
    lib.clearCalls();
    manager.CheckComm();
    EXPECT_EQ(lib.calls().first(), "ZlCloseConnection(7)");
}

TEST_F(CheckCommTest, SuspendedMonitoringOnlyClosesThePreviousConnection) {
    state.connection.CommHandle = 5;
    state.flags.UserSuspended = true;

    EXPECT_EQ(manager.CheckComm(), CommCheck::Suspended);

    EXPECT_EQ(lib.calls(), QStringList({"ZlCloseConnection(5)"}));
    EXPECT_TRUE(ui.log.isEmpty());
}

TEST_F(CheckCommTest, OpenSetupDialogKeepsTheStartTimerOff) {
    state.flags.SetupOpen = true;
    useSerial(1, 19200);
    EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);
    lib.setDefaultResult(ZelCall::OpenConnection, 0);
    EXPECT_EQ(manager.CheckComm(), CommCheck::Failed);

    EXPECT_FALSE(ui.log.contains("timer3"));
    EXPECT_FALSE(state.flags.StartPollingPending);
}

TEST_F(CheckCommTest, ZelNetSelectsTheAdapterWaitsAndChecksRegisterOne) {
    state.settings.CommType = kCommZelNet;
    state.settings.HostNode = 32001;
    state.settings.TargetNode = 12;
    state.settings.AdapterIndex = 2;

    EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);

    EXPECT_EQ(lib.calls(),
              QStringList({"ZlGetAvailableAdaptersIPList()", "ZlSetAdapter(2)",
                           "ZlOpenConnection(2, 32001, 12)", kTimeout, "ZlGetRegister(7, 1)",
                           "ZlGetModel(7)", "ZlGetIoCount(7)"}));
    EXPECT_TRUE(ui.log.contains("pause 100"));  // the adapter settles before the open
    EXPECT_EQ(ui.status, "Connected to Node 12");
    EXPECT_EQ(ui.mainTitle, "ZEL Monitor V3.6 - Node 12");
}

TEST_F(CheckCommTest, UdpOpensTheTrimmedAddress) {
    state.settings.CommType = kCommUdp;
    state.settings.ControllerIP = " 10.0.0.7 ";
    state.settings.HostIsIP = true;

    EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);

    EXPECT_EQ(lib.calls().first(),
              QStringLiteral("ZlOpenConnection(3, 0, %1)").arg(wireAddress(0x0A000007)));
    EXPECT_EQ(ui.status, "Connected to UDP 10.0.0.7");
}

TEST_F(CheckCommTest, StartupCaptionResolvesTheHostOfANetworkLinkOnly) {
    state.settings.ControllerHost = " localhost ";
    useSerial(1, 9600);
    EXPECT_EQ(manager.startupCaption(), " - COMM 1 Baud 9600");
    EXPECT_TRUE(state.settings.ControllerIP.isEmpty());

    state.settings.CommType = kCommTcp;
    EXPECT_EQ(manager.startupCaption(), " - TCP/IP 127.0.0.1 - localhost");
    EXPECT_EQ(state.settings.ControllerIP, "127.0.0.1");
    EXPECT_TRUE(lib.calls().isEmpty());
}

TEST_F(CheckCommTest, SuccessTitlesEveryWindowAndStartsPollingAtTheClampedInterval) {
    useSerial(1, 19200);
    state.dde.UpdateInterval = 5;

    EXPECT_EQ(manager.CheckComm(), CommCheck::Connected);

    EXPECT_EQ(state.connection.ConnectionCaption, " - COMM1 Baud 19200");
    EXPECT_EQ(ui.mainTitle, "ZEL Monitor V3.6 - COMM1 Baud 19200");
    EXPECT_TRUE(ui.log.contains("dde: Connected to COMM1 Baud 19200"));
    EXPECT_EQ(ui.captions, QStringList({" - COMM1 Baud 19200"}));
    EXPECT_EQ(state.dde.UpdateInterval, 10);
    EXPECT_TRUE(ui.log.contains("interval 10"));
    EXPECT_TRUE(ui.log.contains("timer3"));
    EXPECT_TRUE(state.flags.StartPollingPending);

    state.dde.UpdateInterval = 40000;
    manager.CheckComm();
    EXPECT_EQ(state.dde.UpdateInterval, 32000);
}

// Causes the tests cannot produce for real (they run with every permission) and failures found
// before any library call: the status line names each, never an older record's text.
TEST(CheckCommCause, TheStatusLineNamesTheCauseOfTheFailedStep) {
    struct Case {
        const char* what;
        std::function<void(ConnectionSettings&, FakeZelLibrary&)> arrange;
        QString cause;
    };
    const Case cases[] = {
        {"serial device the user may not open",
         [](ConnectionSettings& s, FakeZelLibrary& lib) {
             s.CommType = 3;
             lib.setResponder(ZelCall::OpenConnection, [&lib](const QVector<int32_t>&) {
                 lib.setError(103, "Cannot open connection: /dev/ttyS0: Permission denied");
                 return 0;
             });
         },
         "Cannot open connection: /dev/ttyS0: Permission denied"},
        {"host name that did not resolve",
         [](ConnectionSettings& s, FakeZelLibrary&) {
             s.CommType = kCommTcp;
             s.ControllerHost = "plc7";
             s.HostIsIP = false;
         },
         "Cannot resolve host name: plc7"},
        {"connection kind that does not exist",
         [](ConnectionSettings& s, FakeZelLibrary&) { s.CommType = 19; },
         "No such connection kind: 19"},
    };
    for (const Case& c : cases) {
        AppState state;
        FakeZelLibrary lib;
        lib.setError(101, "Invalid connection handle: handle 0");
        RecordingUi ui;
        ConnectionManager manager{state, lib, ui};
        c.arrange(state.settings, lib);
        manager.CheckComm();
        EXPECT_EQ(manager.CheckComm(), CommCheck::Failed) << c.what;
        EXPECT_EQ(
            ui.status.toStdString(),
            ("( 1 ) Failed to make connection, please configure -  " + c.cause.leftJustified(255))
                .toStdString())
            << c.what;
    }
}

}  // namespace
}  // namespace zel
