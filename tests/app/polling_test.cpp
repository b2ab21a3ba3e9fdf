// The polling tick, suspend and resume, the setup dialog's reconnection and the run commands,
// checked by the library calls they make.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/main_window_model.h"
#include "link/fake/fake_zel_library.h"
#include "recording_view.h"
#include "settings/first_run.h"
#include "status/plain_step_tree.h"
#include "tests/status/packet_controller.h"
#include "windows/clock_window_model.h"
#include "windows/status_window_model.h"

using namespace zel;
using zel::test::RecordingView;

namespace {

// A window's part of the tick that reads one register and can let events run.
class ProbeBlock : public PollBlock {
public:
    ProbeBlock(bool& open, int32_t reg) : open_(open), reg_(reg) {}
    bool isOpen() const override { return open_; }
    void refresh(PollContext& c) override {
        ++refreshes;
        if (letEventsRun) c.pump();
        if (!c.linkUsable()) return;
        int32_t value = 0;
        if (c.library.ZlGetRegister(c.state.connection.CommHandle, reg_, value) != 1)
            c.readFailed();
        if (failWith) throw PollingError(failWith);
    }
    int refreshes = 0;
    bool letEventsRun = false;
    const char* failWith = nullptr;

private:
    bool& open_;
    int32_t reg_;
};

class PollingTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    StatusLog log{dir.filePath(QStringLiteral("zelmon.log"))};
    FakeZelLibrary lib;
    RecordingView view;
    AppState state;
    settings::SettingsStore store{dir.filePath(QStringLiteral("settings.ini"))};
    MainWindowModel model{state, store, lib, log, view};

    void SetUp() override {
        store.load(settings::firstRunSettings());
        lib.setModel(5, 1);
        lib.setIoCounts({64, 16, 16, 0, 4, 8, 4});
        model.load({});
        ASSERT_FALSE(state.flags.NoCommunication);
        lib.clearCalls();
    }
};

}  // namespace

TEST_F(PollingTest, OpenWindowsAreRefreshedInTheirOrderAfterTheLinkCheck) {
    bool clockOpen = true, regsOpen = true;
    ProbeBlock clock(clockOpen, 13014), regs(regsOpen, 17);
    model.polling().addBlock(clock, 14);
    model.polling().addBlock(regs, 7);
    model.pollingTick();
    EXPECT_EQ(lib.calls(), QStringList({"ZlGetRegister(7, 1)", "ZlGetRegister(7, 17)",
                                        "ZlGetRegister(7, 13014)"}));
}

// A table transfer runs on this thread, so the tick between its rows still checks the link; a
// program transfer holds the link on a worker thread, so the tick leaves it alone.
TEST_F(PollingTest, TransfersKeepWindowsQuietAndAProgramTransferTheLinkCheckToo) {
    bool open = true;
    ProbeBlock regs(open, 17);
    model.polling().addBlock(regs, 7);
    state.flags.TableUploadBusy = true;
    model.pollingTick();
    EXPECT_EQ(lib.calls(), QStringList{"ZlGetRegister(7, 1)"});
    state.flags.TableUploadBusy = false;
    state.flags.DownloadBusy = true;
    lib.clearCalls();
    model.pollingTick();
    EXPECT_TRUE(lib.calls().isEmpty());
    EXPECT_FALSE(state.flags.NoCommunication);
    EXPECT_EQ(regs.refreshes, 0);
}

TEST_F(PollingTest, WindowsClosedOrASuspendClickedWhileEventsRunAreHonouredAtOnce) {
    bool statusOpen = true, clockOpen = true;
    ProbeBlock status(statusOpen, 13005);
    ProbeBlock clock(clockOpen, 13014);
    model.polling().addBlock(status, 13);
    model.polling().addBlock(clock, 14);
    status.letEventsRun = true;

    view.onProcessEvents = [&] { clockOpen = false; };
    model.pollingTick();
    EXPECT_EQ(clock.refreshes, 0);

    clockOpen = true;
    view.onProcessEvents = [&] {
        view.onProcessEvents = nullptr;
        model.monitoring().suspend();
    };
    lib.clearCalls();
    model.pollingTick();
    // The tick fetched what the last one read; the suspend closed the link inside the step
    // status block, and nothing more is read.
    EXPECT_EQ(lib.calls(), QStringList({"ZlGetRegister(7, 1)", "ZlGetRegister(7, 13005)",
                                        "ZlCloseConnection(7)"}));
    EXPECT_EQ(clock.refreshes, 0);
    EXPECT_EQ(state.connection.CommHandle, 0);
}

// A connection attempt lets events run, and a timer restarted meanwhile may tick again: that
// tick touches nothing, so the attempt goes on with the handle it opened and reports its own
// cause, not a failure on a handle the second attempt closed.
TEST_F(PollingTest, ATickWhileAnAttemptRunsTouchesNothing) {
    state.flags.NoCommunication = true;
    lib.setDefaultResult(ZelCall::GetModel, 0);
    QStringList nested;
    view.onProcessEvents = [&] {
        view.onProcessEvents = nullptr;
        const qsizetype before = lib.calls().size();
        model.pollingTick();
        nested = lib.calls().mid(before);
    };
    model.pollingTick();
    EXPECT_TRUE(nested.isEmpty()) << nested.join('|').toStdString();
    EXPECT_EQ(lib.calls().filter("ZlInitConnection(0").size(), 0);
    EXPECT_EQ(lib.calls().filter("ZlInitConnection(7").size(), 6);
    EXPECT_TRUE(state.flags.NoCommunication);
}

TEST_F(PollingTest, SuspendedMonitoringTouchesNothingUntilResumed) {
    model.monitoring().toggle();
    EXPECT_EQ(view.suspendCaption, QStringLiteral("Resume Monitoring"));
    EXPECT_EQ(view.suspendColour, StateColour::Green);
    EXPECT_EQ(model.message(), QStringLiteral("Controller Monitoring Suspended"));
    EXPECT_FALSE(view.runButtonsEnabled);
    EXPECT_FALSE(view.pollingEnabled);
    lib.clearCalls();
    model.pollingTick();
    model.pollingTick();
    EXPECT_TRUE(lib.calls().isEmpty());

    model.monitoring().toggle();
    EXPECT_EQ(view.suspendCaption, QStringLiteral("Suspend Monitoring"));
    EXPECT_EQ(view.suspendColour, StateColour::Red);
    EXPECT_TRUE(view.runButtonsEnabled);
    EXPECT_TRUE(view.pollingEnabled);
    EXPECT_EQ(lib.callOrder().mid(0, 1), QList{ZelCall::OpenConnection});
    EXPECT_FALSE(state.flags.NoCommunication);
}

TEST_F(PollingTest, ABlockThatFailsEndsTheTickWithAMessageAndAReconnection) {
    bool open = true;
    ProbeBlock status(open, 13005);
    status.failWith = "task bank 2 could not be read";
    model.polling().addBlock(status, 13);
    model.pollingTick();
    EXPECT_EQ(model.message(),
              QStringLiteral("Error in polling routine!\rtask bank 2 could not be read"));
    EXPECT_TRUE(state.flags.NoCommunication);
}

// A corrupt program (fault code 2) ends the tick at the step status block, so the clock after
// it is not read; any other fault leaves the rest of the tick alone.
TEST_F(PollingTest, FaultCodeTwoEndsTheTickAtTheStepStatus) {
    test::PacketController controller;
    controller.answerPackets(lib);
    status::PlainStepTree tree;
    StatusWindowModel status{state, store, tree, [](const QString&) {}, [](const QString&) {}};
    int clockShown = 0;
    ClockWindowModel clock{state, [&](const ClockWindowModel::Display&) { ++clockShown; }};
    status.load();
    clock.load();
    model.polling().addBlock(status, 13);
    model.polling().addBlock(clock, 14);
    for (const auto& [faultCode, clockShows] : {std::pair{0, 1}, {12, 1}, {2, 0}}) {
        controller.faultCode = uint8_t(faultCode);
        clockShown = 0;
        model.pollingTick();
        EXPECT_EQ(clockShown, clockShows) << "fault code " << faultCode;
        EXPECT_FALSE(state.flags.NoCommunication);
    }
}

TEST_F(PollingTest, TheSetupDialogsReconnectionRunsOnceOnTimer2) {
    state.flags.ReconnectPending = true;
    view.reconnectTimerEnabled = true;
    model.monitoring().reconnectTick();
    EXPECT_EQ(lib.callOrder().mid(0, 1), QList{ZelCall::CloseConnection});
    EXPECT_TRUE(lib.callOrder().contains(ZelCall::OpenConnection));
    EXPECT_FALSE(state.flags.ReconnectPending);
    EXPECT_FALSE(view.reconnectTimerEnabled);
    lib.clearCalls();
    model.monitoring().reconnectTick();
    EXPECT_TRUE(lib.calls().isEmpty());
}

TEST_F(PollingTest, StartAndResetWriteWhatTheStatusWordCallsFor) {
    using Command = void (RunControl::*)();
    const std::tuple<Command, int32_t, QString> cases[] = {
        {&RunControl::start, 0, QString()},  // running already: nothing written
        {&RunControl::start, 9, QStringLiteral("ZlPutStatus(7, 1)")},  // the reset bit cleared
        {&RunControl::reset, 1, QStringLiteral("ZlPutStatus(7, 8)")},
        {&RunControl::reset, 0, QStringLiteral("ZlPutStatus(7, 9)")},
    };
    for (const auto& [command, word, write] : cases) {
        lib.clearCalls();
        lib.setStatusWord(word);
        (model.runControl().*command)();
        EXPECT_EQ(lib.callsTo(ZelCall::PutStatus).value(0), write) << word;
    }
    EXPECT_EQ(view.questions.value(1),
              QStringLiteral("Are you sure you want to START the controller?"));
    EXPECT_TRUE(view.messageBoxes.isEmpty());
}

TEST_F(PollingTest, StopOnAnOldModelOrAFailedWriteSaysSo) {
    state.connection.ModelCode = 4;
    model.runControl().stop();
    EXPECT_TRUE(lib.calls().isEmpty());
    EXPECT_EQ(view.messageBoxes.last(), QStringLiteral("Failed to execute STOP command!"));

    state.connection.ModelCode = 5;
    lib.setError(104, QStringLiteral("No reply from controller"));
    lib.queueResults(ZelCall::PutStatus, {0});
    model.runControl().stop();
    EXPECT_TRUE(view.messageBoxes.last().startsWith(
        QStringLiteral("Failed to execute STOP command!\nNo reply from controller")));
}

TEST_F(PollingTest, RunCommandsDoNothingAfterTheQuestionWithoutALink) {
    model.monitoring().suspend();
    lib.clearCalls();
    model.runControl().start();
    model.runControl().stop();
    model.runControl().reset();
    EXPECT_EQ(view.questions.size(), 3);
    EXPECT_TRUE(lib.calls().isEmpty());

    view.answerYes = false;
    model.monitoring().resume();
    lib.clearCalls();
    model.runControl().stop();
    EXPECT_TRUE(lib.calls().isEmpty());
}

// The trend block runs after the windows and takes their reads; each tick fetches them afresh,
// and a write in between has them read again.
TEST_F(PollingTest, AValueAWindowShowsAndATrendFollowsIsFetchedOncePerTick) {
    bool open = true;
    ProbeBlock regs(open, 120);
    model.polling().addBlock(regs, 7);
    model.addToTrend({QStringLiteral("Register 120"), TrendSource::reg(120)});
    model.addToTrend({QStringLiteral("Register 1"), TrendSource::reg(1)});
    EXPECT_EQ(view.status, QStringLiteral("Register 1 added to trend."));
    model.pollingTick();
    model.pollingTick();
    EXPECT_EQ(lib.calls(), QStringList({"ZlGetRegister(7, 1)", "ZlGetRegister(7, 120)",
                                        "ZlGetRegister(7, 1)", "ZlGetRegister(7, 120)"}));
    ASSERT_EQ(model.trends().series().size(), 2U);
    EXPECT_EQ(model.trends().series()[0].history.size(), 2U);

    lib.clearCalls();
    regs.letEventsRun = true;
    view.onProcessEvents = [&] { model.library().ZlPutRegister(state.connection.CommHandle, 120, 5); };
    model.pollingTick();
    EXPECT_EQ(lib.calls(),
              QStringList({"ZlGetRegister(7, 1)", "ZlGetRegister(7, 120)", "ZlPutRegister(7, 120, 5)",
                           "ZlGetRegister(7, 120)", "ZlGetRegister(7, 1)"}));
}
