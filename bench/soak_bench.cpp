// The monitor's resident memory over half an hour of polling, against the simulator over TCP:
// every window open (the resource windows, the step status, both custom screens, the data table
// with its monitor, the clock and the DDE window) and the DDE exchange running. It is 18000
// ticks, half an hour at a 100 ms interval, played faster than real time: the simulator's clock
// runs kSpeed times as fast, and a tick starts every 100 / kSpeed ms, so the outputs, inputs,
// servos and steps change from tick to tick as the demo controller changes them in real time.
// A tick that takes longer than that gap waits for nothing, and the controller changes more
// between two ticks than in real time: the report says how long the controller ran. The figure
// is the memory at the end against the memory after the first sixth (5 minutes), goal at most
// 1 MB above it.
//
//   zelbench_soak [MINUTES]    MINUTES of ticks, 30 unless given (a shorter run for a profiler)
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/application.h"
#include "app/frm_main.h"
#include "app/main_window_model.h"
#include "app/monitor_style.h"
#include "child_process.h"
#include "tests/support/settings_file.h"
#include "tests/support/sim_process.h"
#include "timed_monitor.h"

using namespace zel;

namespace {

constexpr int kTickMs = 100;
constexpr int kSpeed = 20;
constexpr long kGoalKb = 1024;

// The demo's profile: the simulator's link, the demo screen in both custom screens, and an
// exchange that runs from start-up. Its interval is the longest the setting takes, so that the
// monitor's own timer adds few ticks to the ones this program drives.
bool writeProfile(const QString& profile) {
    const QString screen = QStringLiteral(ZELSIM_DEMO_SCREEN);
    bench::writeSimulatorProfile(profile, 1000);
    return test::setSettings(profile, QStringLiteral("Files"),
                             {{"Custom Screen 1", screen}, {"Custom Screen 2", screen}}) &&
           test::setSettings(profile, QStringLiteral("DDE Setup"),
                             {{"Flag", 1}, {"Register Address", 2}, {"Update", 1000}});
}

void openEveryWindow(frmMain& main) {
    bench::openEveryWindow(main);
    for (const char* name : {"TableButton", "Cust1Button", "Cust2Button"})
        main.findChild<QPushButton*>(QLatin1String(name))->click();
    main.findChild<QAction*>(QStringLiteral("mnuDdeSetup"))->trigger();
    main.findChild<QWidget*>(QStringLiteral("frmTable"))
        ->findChild<QAction*>(QStringLiteral("mnuOptionsSetup"))
        ->trigger();
    QApplication::processEvents();
}

int shownWindows() {
    int shown = 0;
    for (const QWidget* w : QApplication::topLevelWidgets()) shown += w->isVisible() ? 1 : 0;
    return shown;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    test::SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0", "--speed",
                          std::to_string(kSpeed)});
    ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
    ::setenv("ZELMON_ZELCOM_LIBRARY", ZELCOM_LIBRARY_FILE, 1);
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("settings.ini"));
    if (!writeProfile(profile)) {
        std::fprintf(stderr, "could not write the settings profile %s\n", qPrintable(profile));
        return 1;
    }

    QApplication app(argc, argv);
    useMonitorStyle();
    Application monitor(bench::monitorCommandLine(profile));
    monitor.start();
    if (monitor.state().flags.NoCommunication) {
        std::fprintf(stderr, "no connection to the simulator\n");
        return 1;
    }
    openEveryWindow(monitor.mainWindow());
    if (!monitor.state().flags.DdeActive) {
        std::fprintf(stderr, "the DDE exchange does not run\n");
        return 1;
    }

    const int minutes = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 30;
    const int ticks = minutes * 60 * 1000 / kTickMs;
    const int firstSixth = ticks / 6;
    const double tickGapMs = static_cast<double>(kTickMs) / kSpeed;
    long earlyKb = 0;
    QElapsedTimer clock;
    clock.start();
    for (int tick = 1; tick <= ticks; ++tick) {
        // Until the tick is due the window events run, as in the monitor's event loop.
        while (static_cast<double>(clock.nsecsElapsed()) / 1e6 < tick * tickGapMs) {
            QApplication::processEvents();
            QThread::usleep(500);
        }
        monitor.model().pollingTick();
        QApplication::processEvents();
        if (tick == firstSixth) earlyKb = bench::residentMemoryKb();
    }
    const long endKb = bench::residentMemoryKb();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (monitor.state().flags.NoCommunication) {
        std::fprintf(stderr, "the monitor lost the simulator during the run\n");
        return 1;
    }

    const long growthKb = endKb - earlyKb;
    std::printf(
        "soak, %d windows open and the DDE exchange running, %d ticks (%d minutes at %d ms) in "
        "%.0f s, the controller's clock %.0f minutes: resident %ld kB after the first sixth, "
        "%ld kB at the end, %+ld kB | goal <= %ld kB %s\n",
        shownWindows(), ticks, minutes, kTickMs, seconds, seconds * kSpeed / 60, earlyKb, endKb,
        growthKb, kGoalKb, growthKb <= kGoalKb ? "met" : "NOT MET");
    monitor.mainWindow().close();
    return 0;
}
