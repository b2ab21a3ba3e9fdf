// The main window's load, shutdown and polling rules, against a real settings file and the
// library's test double.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "link/dynamic_zel_library.h"
#include "link/fake/fake_zel_library.h"
#include "settings/first_run.h"
#include "app/main_window_model.h"
#include "recording_view.h"
#include "tests/support/file_bytes.h"

using namespace zel;
using zel::test::RecordingView;

namespace {

class MainWindowModelTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString settingsPath = dir.filePath(QStringLiteral("settings.ini"));
    StatusLog log{dir.filePath(QStringLiteral("zelmon.log"))};
    FakeZelLibrary lib;
    RecordingView view;

    // One run of the monitor: load the settings file, the main window, then shut down.
    struct Run {
        AppState state;
        settings::SettingsStore store;
        MainWindowModel model;
        Run(MainWindowModelTest& t)
            : store(t.settingsPath), model(state, store, t.lib, t.log, t.view) {
            store.load(settings::firstRunSettings());
        }
    };

    void controllerAnswers() {
        lib.setModel(5, 1);
        lib.setIoCounts({64, 16, 16, 0, 4, 8, 4});
    }
};

}  // namespace

TEST_F(MainWindowModelTest, AFirstRunWithoutALineNamesTheDefaultLine) {
    lib.setDefaultResult(ZelCall::OpenConnection, 0);  // no default serial line
    Run run(*this);
    run.model.load({});
    EXPECT_EQ(view.title, QStringLiteral("ZEL Monitor V3.6 - COMM 1 Baud 9600"));
    EXPECT_TRUE(run.state.flags.NoCommunication);
    EXPECT_TRUE(view.messageBoxes.isEmpty());
}

TEST_F(MainWindowModelTest, SettingsSurviveARestartAndAMaximisedWindowStoresItsFixedPlacement) {
    {
        Run run(*this);
        run.model.load({});
        run.state.settings.CommType = 2;
        run.state.settings.ControllerHost = QStringLiteral("127.0.0.1");
        run.state.settings.CommTimeout = 777;
        run.state.files.SymbolFileName = QStringLiteral("/plant/line 1.sym");
        view.state = settings::DisplayState::Maximized;
        run.model.shutdown();
        EXPECT_TRUE(view.messageBoxes.isEmpty()) << view.messageBoxes.join('|').toStdString();
    }
    view = RecordingView{};
    Run again(*this);
    again.model.load({});
    EXPECT_EQ(again.state.settings.CommType, 2);
    EXPECT_EQ(again.state.settings.CommTimeout, 777);
    EXPECT_EQ(again.state.files.SymbolFileName, QStringLiteral("/plant/line 1.sym"));
    EXPECT_EQ(view.placementTwips, (settings::WindowPlacement{1008, 1236, 8000, 10000}));
    EXPECT_EQ(view.title, QStringLiteral("ZEL Monitor V3.6 - TCP/IP 127.0.0.1"));
}

TEST_F(MainWindowModelTest, ShutdownClosesTheConnectionAndReportsAFailingClose) {
    Run run(*this);
    run.state.connection.CommHandle = 7;
    lib.queueResults(ZelCall::CloseConnection, {0});
    run.model.shutdown();
    EXPECT_EQ(run.state.connection.CommHandle, 0);
    EXPECT_EQ(view.messageBoxes, QStringList{QStringLiteral("Failed to CLOSE network!")});
}

TEST_F(MainWindowModelTest, ASuccessfulLoadConnectsAndArmsPollingAtTheUpdateInterval) {
    controllerAnswers();
    Run run(*this);
    run.model.load({});
    EXPECT_FALSE(run.state.flags.NoCommunication);
    EXPECT_EQ(view.pollingInterval, 1000);
    EXPECT_TRUE(view.startTimerEnabled);

    run.model.startTimerTick();
    EXPECT_TRUE(view.pollingEnabled);
    EXPECT_FALSE(view.startTimerEnabled);
    EXPECT_FALSE(run.state.flags.StartPollingPending);
}

TEST_F(MainWindowModelTest, PollingToleratesAnAbsentResourceButReconnectsAfterAnyOtherFailure) {
    controllerAnswers();
    Run run(*this);
    run.model.load({});
    lib.clearCalls();

    run.model.pollingTick();  // a healthy tick reads register 1 and nothing else
    EXPECT_EQ(lib.calls(), QStringList{QStringLiteral("ZlGetRegister(7, 1)")});
    EXPECT_FALSE(run.state.flags.NoCommunication);

    lib.setError(216, QStringLiteral("Resource not present"));
    lib.queueResults(ZelCall::GetRegister, {0});
    run.model.pollingTick();
    EXPECT_FALSE(run.state.flags.NoCommunication);

    lib.setError(104, QStringLiteral("No reply from controller"));
    lib.queueResults(ZelCall::GetRegister, {0});
    run.model.pollingTick();
    EXPECT_TRUE(run.state.flags.NoCommunication);

    lib.clearCalls();
    run.model.pollingTick();  // the next tick reconnects
    EXPECT_EQ(lib.callOrder().mid(0, 1), QList{ZelCall::CloseConnection});
    EXPECT_FALSE(run.state.flags.NoCommunication);
}

TEST_F(MainWindowModelTest, EveryStatusTextReachesTheLog) {
    Run run(*this);
    run.model.setMessage(QStringLiteral("Failed to update register value!\nIllegal register"));
    EXPECT_TRUE(test::readBytes(log.filePath()).contains("Failed to update register value! | Illegal register"));
}

TEST_F(MainWindowModelTest, AWindowButtonWithoutALinkAsksFirstAndCancelOpensNothing) {
    lib.setDefaultResult(ZelCall::OpenConnection, 0);
    Run run(*this);
    run.model.load({});
    run.model.setMessage(QStringLiteral("before"));
    bool shown = false;
    view.answerYes = false;
    const QString loading = QStringLiteral("Loading Register Form, please wait.");
    const QString loaded = QStringLiteral("Register Form loaded.");
    EXPECT_FALSE(run.model.openChildWindow(loading, loaded, [&] { shown = true; }));
    EXPECT_FALSE(shown);
    EXPECT_EQ(run.model.message(), QStringLiteral("before"));
    EXPECT_TRUE(view.questions.value(0).startsWith(
        QStringLiteral("There is NO communication with the controller!\r\r\n")));

    view.answerYes = true;
    EXPECT_TRUE(run.model.openChildWindow(loading, loaded, [&] { shown = true; }));
    EXPECT_TRUE(shown);
    EXPECT_EQ(run.model.message(), QStringLiteral("Register Form loaded."));
}

TEST_F(MainWindowModelTest, AMissingLibraryIsNamedInTheStatusLineAndTheMonitorGoesOn) {
    AppState state;
    settings::SettingsStore store(settingsPath);
    store.load(settings::firstRunSettings());
    DynamicZelLibrary missing({dir.filePath(QStringLiteral("libzelcom.so.3"))});
    MainWindowModel model(state, store, missing, log, view);
    model.load({});
    EXPECT_TRUE(model.message().contains(dir.filePath(QStringLiteral("libzelcom.so.3"))))
        << model.message().toStdString();
    EXPECT_TRUE(state.flags.NoCommunication);
    model.pollingTick();  // keeps trying, without a crash
    EXPECT_TRUE(state.flags.NoCommunication);
}

// The Trends menu offers logging only with something trended, Stop only while logging runs;
// clearing the set stops logging too.
TEST_F(MainWindowModelTest, TrendsMenuEntriesFollowTheSetAndTheLog) {
    Run run(*this);
    const QString logPath = dir.filePath(QStringLiteral("trend.csv"));
    struct Step {
        const char* what;
        std::function<void(MainWindowModel&)> act;
        bool startLogging, stopLogging, clear;
    };
    const Step steps[] = {
        {"nothing trended", [](MainWindowModel&) {}, false, false, false},
        {"a value trended",
         [](MainWindowModel& m) { m.addToTrend({QStringLiteral("Flag 7"), TrendSource::bit(1, 6)}); },
         true, false, true},
        {"logging", [&](MainWindowModel& m) { ASSERT_TRUE(m.trendBlock().startLogging(logPath)); },
         false, true, true},
        {"logging stopped", [](MainWindowModel& m) { m.stopLogging(); }, true, false, true},
        {"trends cleared", [](MainWindowModel& m) { m.clearTrends(); }, false, false, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act(run.model);
        const MainWindowModel::TrendCommands can = run.model.trendCommands();
        EXPECT_EQ(can.startLogging, step.startLogging);
        EXPECT_EQ(can.stopLogging, step.stopLogging);
        EXPECT_EQ(can.clear, step.clear);
    }
}
