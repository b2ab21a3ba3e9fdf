// The link pulled from under the running monitor, wired as the program wires it: the real
// library behind the link thread, the main window and its model, a profile pointing at zelsim.
// While a call waits on the dead link the window goes on handling events; afterwards the
// monitor reconnects, a transfer can be cancelled, and a close ends at once.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "app/frm_main.h"
#include "app/main_window_model.h"
#include "app/status_log.h"
#include "common/app_state.h"
#include "link/dynamic_zel_library.h"
#include "link/link_claim.h"
#include "link/link_thread_library.h"
#include "settings/first_run.h"
#include "tests/support/monitor_profile.h"
#include "tests/support/sim_process.h"

using namespace zel;
using test::SimProcess;

namespace {

constexpr int kWaitMs = 60'000;
// Long enough that a call on the dead link is still waiting when the test's event runs, short
// enough that the failed attempts while the link is down come quickly.
constexpr int kTimeoutMs = 1000;

// Between the loaded library and the link thread: which calls reach the library once the test
// starts noting them, and how many register reads succeed. Runs on the link thread.
class NotedLibrary final : public ForwardingZelLibrary {
public:
    using ForwardingZelLibrary::ForwardingZelLibrary;
    void startNoting() { noting_ = true; }
    QStringList noted() const {
        const std::lock_guard lock(mutex_);
        return noted_;
    }
    int goodReads() const { return goodReads_; }
    // The call running on the link thread, if any.
    std::optional<ZelCall> inHand() const {
        const int call = inHand_;
        if (call < 0) return std::nullopt;
        return static_cast<ZelCall>(call);
    }

private:
    int32_t pass(ZelCall call, CallNumbers, InnerCall run) override {
        if (noting_) {
            const std::lock_guard lock(mutex_);
            noted_ << QString::fromLatin1(callName(call));
        }
        inHand_ = static_cast<int>(call);
        const int32_t result = run();
        inHand_ = -1;
        if (call == ZelCall::GetRegister && result == 1) ++goodReads_;
        return result;
    }

    std::atomic<bool> noting_ = false;
    std::atomic<int> goodReads_ = 0;
    std::atomic<int> inHand_ = -1;
    mutable std::mutex mutex_;
    QStringList noted_;
};

// The main window noting every status text, and the message boxes instead of showing them.
class NotedMainWindow final : public frmMain {
public:
    void setStatus(const QString& text) override {
        statuses << text;
        frmMain::setStatus(text);
        if (onStatus) onStatus(text);
    }
    void showPlainMessage(const QString& text) override { boxes << text; }
    QStringList statuses;
    QStringList boxes;
    std::function<void(const QString&)> onStatus;
};

// As app/application.cpp builds the monitor: DynamicZelLibrary -> LinkThreadLibrary ->
// MainWindowModel, the shutdown refusing calls to the controller first.
struct Monitor {
    explicit Monitor(const QString& profile)
        : store(profile), log(profile + QStringLiteral(".log")),
          model(state, store, link, log, window) {
        model.setShutdownStart([this] { link.refuseControllerCalls(); });
        store.load(settings::firstRunSettings());
        window.attach(model);
        model.load({}, false);
        window.show();
    }
    ~Monitor() { window.close(); }
    bool connected() const { return !state.flags.NoCommunication; }

    DynamicZelLibrary real{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    NotedLibrary noted{real};
    LinkThreadLibrary link{noted};
    AppState state;
    settings::SettingsStore store;
    StatusLog log;
    NotedMainWindow window;
    MainWindowModel model;
};

class LinkPull : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString profile = dir.filePath(QStringLiteral("zelmon.ini"));
    std::optional<SimProcess> sim;
    std::unique_ptr<Monitor> monitor;
    QTimer probe;
    bool probeRan = false;

    void TearDown() override {
        probe.disconnect();
        monitor.reset();
        qunsetenv("ZELCOM_TCP_PORT");
        qunsetenv("ZELCOM_COMM1");
    }
    // The demo controller over TCP, or on a serial line whose device keeps its name across
    // restarts; the monitor started and connected to it.
    void start(bool serial) {
        if (serial) {
            const std::string line = dir.filePath(QStringLiteral("line")).toStdString();
            sim.emplace(std::vector<std::string>{"--scenario", ZELSIM_DEMO_SCENARIO, "--pty", line});
            qputenv("ZELCOM_COMM1", QByteArray::fromStdString(line));
            test::writeSerialProfile(profile, 1, kTimeoutMs);
        } else {
            sim.emplace(std::vector<std::string>{"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"});
            qputenv("ZELCOM_TCP_PORT", QByteArray::number(sim->tcpPort()));
            test::writeSimulatorProfile(profile, kTimeoutMs);
        }
        monitor = std::make_unique<Monitor>(profile);
        ASSERT_TRUE(monitor->connected()) << monitor->model.message().toStdString();
    }
    // Runs `action` from an event once a call that `waitingOn` picks waits on the link for the
    // window thread.
    void whenWaitingOn(bool (*waitingOn)(ZelCall), std::function<void()> action) {
        probeRan = false;
        probe.setInterval(1);
        QObject::connect(&probe, &QTimer::timeout, [this, waitingOn, action = std::move(action)] {
            const std::optional<ZelCall> inHand = monitor->noted.inHand();
            if (probeRan || !monitor->link.waiting() || !inHand || !waitingOn(*inHand)) return;
            probeRan = true;
            probe.stop();
            action();
        });
        probe.start();
    }
    // A tick's read of registers, one or a block of them.
    static bool readsRegisters(ZelCall call) {
        return callTraits(call).effect == CallEffect::Reads &&
               callTraits(call).registers != CallRegisters::None;
    }
    bool probeRunsWhileWaiting() {
        return QTest::qWaitFor([&] { return probeRan; }, kWaitMs);
    }
    // A status text shown, the library's cause without the blanks that pad it.
    bool statusShown(const QString& text) const {
        for (const QString& shown : monitor->window.statuses)
            if (shown.trimmed() == text) return true;
        return false;
    }
    std::string shownTexts() const {
        QStringList texts;
        for (const QString& shown : monitor->window.statuses)
            if (!texts.contains(shown.trimmed())) texts << shown.trimmed();
        return texts.join(u'|').toStdString();
    }
};

// The link goes while a tick waits on it; the texts are the ones the monitor has always shown:
// the second failed attempt counted, then the connection made again.
TEST_F(LinkPull, TheWindowKeepsRunningAndTheMonitorReconnects) {
    const QString line = dir.filePath(QStringLiteral("line"));
    const struct {
        const char* name;
        bool serial;
        void (*pull)(SimProcess&);
        void (*restore)(SimProcess&);
        std::function<QString()> failure;  // the first failure counted, once the simulator runs
        QString connected;
    } cases[] = {
        {"simulator killed", false, [](SimProcess& s) { s.kill(); },
         [](SimProcess& s) { s.restart(); },
         [&] {
             return QStringLiteral("( 1 ) Failed to make connection, please configure -  Cannot "
                                   "open connection: 127.0.0.1:%1: Connection refused")
                 .arg(sim->tcpPort());
         },
         QStringLiteral("Connected to TCP/IP 127.0.0.1")},
        {"simulator stopped", false, [](SimProcess&) {}, [](SimProcess& s) { s.resume(); },
         [] {
             return QStringLiteral("( 1 ) Failed to make connection, please configure -  No "
                                   "reply from controller");
         },
         QStringLiteral("Connected to TCP/IP 127.0.0.1")},
        {"serial line gone", true, [](SimProcess& s) { s.kill(); },
         [](SimProcess& s) { s.restart(); },
         [&] {
             return QStringLiteral("( 1 ) Failed to make connection, please configure -  Cannot "
                                   "open connection: %1: No such file or directory")
                 .arg(line);
         },
         QStringLiteral("Connected to COMM1 Baud 9600")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start(c.serial));
        // A read of the status line, as the D-Bus service makes one, handled while the tick's
        // call waits on the dead link.
        QString readDuringWait;
        sim->pause();
        whenWaitingOn(readsRegisters, [&] {
            c.pull(*sim);
            readDuringWait = monitor->model.message();
        });
        EXPECT_TRUE(probeRunsWhileWaiting());
        EXPECT_EQ(readDuringWait.toStdString(), c.connected.toStdString());
        EXPECT_TRUE(QTest::qWaitFor([&] { return statusShown(c.failure()); }, kWaitMs))
            << shownTexts();
        monitor->window.statuses.clear();
        c.restore(*sim);
        EXPECT_TRUE(QTest::qWaitFor([&] { return monitor->connected() && statusShown(c.connected); },
                                    kWaitMs))
            << shownTexts();
        EXPECT_EQ(monitor->window.boxes, QStringList());
        probe.disconnect();
        monitor.reset();
        sim.reset();
    }
}

// The data table's is the one transfer a user can cancel. Cancelled while its row waits on a
// stopped simulator, it ends as cancelled once the row's call gives up, gives the link back,
// and the monitor polls again once the simulator answers.
TEST_F(LinkPull, ATransferWaitingOnADeadLinkIsCancelled) {
    ASSERT_NO_FATAL_FAILURE(start(false));
    monitor->window.findChild<QPushButton*>(QStringLiteral("TableButton"))->click();
    auto* table = monitor->window.findChild<QWidget*>(QStringLiteral("frmTable"));
    ASSERT_TRUE(table);
    ASSERT_TRUE(statusShown(QStringLiteral("Upload complete."))) << shownTexts();

    monitor->window.onStatus = [this, table](const QString& text) {
        if (text != QStringLiteral("Uploading data table ... row 2 of 10")) return;
        sim->pause();
        whenWaitingOn([](ZelCall call) { return call == ZelCall::GetDataTableRow; }, [table] {
            table->findChild<QPushButton*>(QStringLiteral("CancelTransfer"))->click();
        });
    };
    table->findChild<QAction*>(QStringLiteral("mnuFileUpload"))->trigger();
    EXPECT_TRUE(probeRan);
    EXPECT_EQ(monitor->model.message().toStdString(), "Upload cancelled at row 2.");
    EXPECT_TRUE(linkFree(monitor->state));
    EXPECT_FALSE(monitor->state.flags.TableUploadBusy);

    const int readsBefore = monitor->noted.goodReads();
    sim->resume();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return monitor->connected() && monitor->noted.goodReads() > readsBefore; }, kWaitMs))
        << shownTexts();
}

// Closing while a tick's read waits on a stopped simulator: the close ends once that read
// gives up; of the calls after it only closing the link reaches the library, with the error
// record of the read in hand.
TEST_F(LinkPull, AClosingMonitorWaitsForNoMoreThanTheCallInHand) {
    ASSERT_NO_FATAL_FAILURE(start(false));
    QFile::remove(profile);
    bool closed = false;
    sim->pause();
    whenWaitingOn(readsRegisters, [&] {
        monitor->noted.startNoting();
        closed = monitor->window.close();
    });
    ASSERT_TRUE(probeRunsWhileWaiting());
    EXPECT_TRUE(closed);
    EXPECT_FALSE(monitor->window.isVisible());
    EXPECT_TRUE(QFile::exists(profile));
    EXPECT_EQ(monitor->noted.noted(),
              QStringList({QStringLiteral("ZlGetErrorInfo"), QStringLiteral("ZlCloseConnection")}));
    EXPECT_EQ(monitor->window.boxes, QStringList());
}

}  // namespace
