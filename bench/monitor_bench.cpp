// The monitor against the simulator over TCP, each figure a ratio to a floor measured in the
// same run, round by round, reported as the median of the rounds' ratios and their spread:
//  - the start-up time to the shown main window (less the half-second splash delay) and the
//    peak memory with every window open, each as a ratio to a minimal Qt window with twenty
//    buttons started the same way; goals 1.4 and 1.5;
//  - one polling tick with the step status, clock and every resource window open, as a ratio to
//    (round trips in the tick x one round trip's median), goal 1.1; and the share of the tick
//    spent letting window events run;
//  - one polling tick with both custom screens open, sixteen rows of mixed kinds each, as the
//    same ratio, goal 1.2, and its share letting events run, goal under 5 %;
//  - the traffic record: a register read through the recorder while it is off as a ratio to the
//    same read straight to the library, goal 1.02; the tick with every window open while the
//    traffic window records as a ratio to the same tick without it, goal 1.05;
//  - the longest tick while the simulator is killed and restarted, as a ratio to the connection
//    timeout; a tick never waits longer than that.
// The start-up line is followed by what the minimal window's time is made of, which the
// monitor pays as well: the application object (the platform plugin), the first font (the
// font database) and its twenty buttons made and shown.
//
//   zelbench_monitor [--quick] [--startup]   (--startup: the start-up and memory figures only)
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/frm_main.h"
#include "app/main_window_model.h"
#include "app/monitor_style.h"
#include "child_process.h"
#include "counting_library.h"
#include "custom_screen_ticks.h"
#include "serial_ticks.h"
#include "link/dynamic_zel_library.h"
#include "link/link_thread_library.h"
#include "settings/first_run.h"
#include "settings/settings_sections.h"
#include "stats.h"
#include "tests/support/sim_process.h"
#include "tick_rounds.h"
#include "timed_monitor.h"

using namespace zel;

namespace {

constexpr int kTimeoutMs = 1000;

// The sizes of the shown top-level windows, handed from one child process to another.
struct WindowSizes {
    int count = 0;
    QSize sizes[16];
};

WindowSizes shownWindowSizes() {
    WindowSizes shown;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && shown.count < static_cast<int>(std::size(shown.sizes)))
            shown.sizes[shown.count++] = w->size();
    return shown;
}

struct Startup {
    double ms = 0;
    // The minimal window's time to its application object and to its first font.
    double applicationMs = 0;
    double fontMs = 0;
    long peakKb = 0;
    long windowPixelsKb = 0;
    WindowSizes shown;
};

// What the shown windows' backing stores hold: one 32-bit pixel per device pixel each. The
// monitor's window sizes are fixed by its defaults, so this share of its memory is not ours to
// trim; the report shows it apart.
long windowPixelsKb() {
    qint64 bytes = 0;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        const qreal ratio = w->devicePixelRatioF();
        bytes +=
            static_cast<qint64>(w->width() * ratio) * static_cast<qint64>(w->height() * ratio) * 4;
    }
    return static_cast<long>(bytes / 1024);
}

// A window with twenty buttons; with `blanks`, empty windows of those sizes as well, which is
// what Qt alone needs to show that much window area.
Startup minimalWindow(int argc, char** argv, const WindowSizes& blanks = {}) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const double applicationMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    // What the first layout would do: find the application font, reading the font database.
    QFontMetrics(QApplication::font()).height();
    const double fontMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    for (int i = 0; i < 20; ++i)
        layout->addWidget(new QPushButton(QStringLiteral("Button %1").arg(i)));
    std::vector<std::unique_ptr<QWidget>> empty;
    for (int i = 0; i < blanks.count; ++i) {
        empty.push_back(std::make_unique<QWidget>());
        empty.back()->resize(blanks.sizes[i]);
        empty.back()->show();
    }
    window.show();
    QApplication::processEvents();
    return {static_cast<double>(clock.nsecsElapsed()) / 1e6,
            applicationMs,
            fontMs,
            bench::peakMemoryKb(),
            windowPixelsKb(),
            shownWindowSizes()};
}

Startup monitorStartup(int argc, char** argv, const QString& profile) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    useMonitorStyle();
    Application monitor(bench::monitorCommandLine(profile));
    monitor.start();
    QApplication::processEvents();
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6 - 500.0;
    bench::clickEveryWindowButton(monitor.mainWindow());
    for (int i = 0; i < 10; ++i) monitor.model().pollingTick();
    return {ms, 0, 0, bench::peakMemoryKb(), windowPixelsKb(), shownWindowSizes()};
}

// What the traffic record costs: a register read through the recorder while it is off against
// the same read straight to the library; and the tick with every window open while the traffic
// window records against the same tick while it is closed.
void benchTraffic(MainWindowModel& model, ZelLibrary& direct, int32_t handle, int rounds,
                  int ticksPerRound) {
    RecordingZelLibrary& traffic = model.traffic();
    traffic.setRecording(false);
    int32_t value = 0;
    std::vector<double> callRatios, tickRatios;
    for (int round = 0; round < rounds; ++round) {
        const auto calls = bench::measureInterleaved(
            ticksPerRound * 10, {[&] { direct.ZlGetRegister(handle, 1, value); },
                                 [&] { traffic.ZlGetRegister(handle, 1, value); }});
        callRatios.push_back(calls[1].median_us / calls[0].median_us);
        const auto ticks = bench::measureInterleaved(ticksPerRound, {[&] {
                                                         traffic.setRecording(false);
                                                         model.pollingTick();
                                                     },
                                                     [&] {
                                                         traffic.setRecording(true);
                                                         model.pollingTick();
                                                     }});
        tickRatios.push_back(ticks[1].median_us / ticks[0].median_us);
    }
    traffic.setRecording(false);
    std::printf("traffic record off: a register read through the recorder vs straight to the "
                "library | ");
    bench::printRatio(bench::spreadOf(callRatios), callRatios.size(), 1.02);
    std::printf("traffic window open: tick with every window open, recording vs not | ");
    bench::printRatio(bench::spreadOf(tickRatios), tickRatios.size(), 1.05);
}

// The ticks with every window open, round by round against as many single round trips in a row
// as a tick makes; then the longest tick while the simulator is killed and restarted. False when
// the monitor could not reach the simulator.
bool benchTicks(const QString& profile, test::SimProcess& sim, int rounds, int ticksPerRound) {
    DynamicZelLibrary real({QStringLiteral(ZELCOM_LIBRARY_FILE)});
    // As in the monitor: the calls run on the link thread, whose hand-over the ticks pay for.
    LinkThreadLibrary link(real);
    bench::CountingLibrary library(link);
    AppState state;
    settings::SettingsStore store(profile);
    store.load(settings::firstRunSettings());
    StatusLog log(profile + QStringLiteral(".ticks.log"));
    bench::TimedMainWindow window;
    MainWindowModel model(state, store, library, log, window);
    window.attach(model);
    model.load({});
    if (state.flags.NoCommunication) {
        std::fprintf(stderr, "no connection to the simulator: %s\n", qPrintable(model.message()));
        return false;
    }
    bench::openEveryWindow(window);
    for (int i = 0; i < 5; ++i) model.pollingTick();  // the tree settles
    // The floor makes the tick's own round trips straight to the library, so that only the
    // ticks are counted.
    const int32_t handle = state.connection.CommHandle;
    const auto tick = [&] { model.pollingTick(); };
    const auto benchTick = [&](const char* what) {
        bench::TripReplay trips = bench::tripsOf(library, real, handle, tick);
        bench::printTickRounds(what,
                               bench::measureTickRounds(rounds, ticksPerRound, trips.count(),
                                                        std::ref(trips), tick, library,
                                                        window.pumpNs),
                               1.1);
    };
    benchTick("step status, clock and all resource windows open");

    // The same windows with every register read on its own, as a controller without block
    // reads is polled.
    state.settings.ReadsOneByOne = true;
    tick();
    benchTick("the same windows read one by one");
    state.settings.ReadsOneByOne = false;
    tick();

    benchTraffic(model, library, state.connection.CommHandle, rounds, ticksPerRound);

    // The simulator dies and comes back: the ticks fail, reconnect and poll again, and none of
    // them may wait longer than one connection timeout.
    constexpr int kRestarts = 3;
    double longestMs = 0;
    const auto timedTick = [&] {
        QElapsedTimer clock;
        clock.start();
        model.pollingTick();
        longestMs = std::max(longestMs, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    };
    for (int i = 0; i < kRestarts; ++i) {
        sim.kill();
        timedTick();
        timedTick();
        sim.restart();
        for (int t = 0; t < 20 && state.flags.NoCommunication; ++t) timedTick();
        if (state.flags.NoCommunication) {
            std::fprintf(stderr, "the monitor did not reconnect to the restarted simulator: %s\n",
                         qPrintable(model.message()));
            return false;
        }
    }
    std::printf(
        "longest tick while the simulator is killed and restarted %d times: %.1f ms of a "
        "%d ms connection timeout | ",
        kRestarts, longestMs, kTimeoutMs);
    bench::printRatio(longestMs / kTimeoutMs, 1.0);
    return true;
}

void pinToOneProcessor() {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    ::sched_setaffinity(0, sizeof one, &one);
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false, startupOnly = false;
    for (int i = 1; i < argc; ++i) {
        quick = quick || std::strcmp(argv[i], "--quick") == 0;
        startupOnly = startupOnly || std::strcmp(argv[i], "--startup") == 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    pinToOneProcessor();
    test::SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"});
    ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
    ::setenv("ZELMON_ZELCOM_LIBRARY", ZELCOM_LIBRARY_FILE, 1);
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("settings.ini"));
    bench::writeSimulatorProfile(profile, kTimeoutMs);

    // Start-ups are short and vary from run to run: a floor and a monitor in each round.
    const int rounds = quick ? 7 : 15;
    const auto startups = bench::inRounds(
        rounds, [&] { return bench::inChild([&] { return minimalWindow(argc, argv); }); },
        [&] { return bench::inChild([&] { return monitorStartup(argc, argv, profile); }); });
    using R = decltype(startups)::value_type;
    for (const R& r : startups)
        if (r.floor.peakKb == 0 || r.work.peakKb == 0) {
            std::fprintf(stderr, "a start-up in a child process failed\n");
            return 1;
        }
    const auto monitorMs = bench::spreadOver(startups, [](const R& r) { return r.work.ms; });
    const auto floorMs = bench::spreadOver(startups, [](const R& r) { return r.floor.ms; });
    std::printf(
        "start-up to the shown main window: %.1f ms (%.1f-%.1f) vs a minimal Qt window "
        "%.1f ms (%.1f-%.1f) | ",
        monitorMs.median, monitorMs.min, monitorMs.max, floorMs.median, floorMs.min, floorMs.max);
    bench::printRatio(
        bench::spreadOver(startups, [](const R& r) { return r.work.ms / r.floor.ms; }),
        startups.size(), 1.4);
    const double floorApplicationMs =
        bench::spreadOver(startups, [](const R& r) { return r.floor.applicationMs; }).median;
    const double floorFontMs = bench::spreadOver(startups, [](const R& r) {
                                   return r.floor.fontMs - r.floor.applicationMs;
                               }).median;
    const double floorShownMs =
        bench::spreadOver(startups, [](const R& r) { return r.floor.ms - r.floor.fontMs; }).median;
    std::printf(
        "  what both pay, as the minimal window spends it: the application object %.1f ms, the "
        "first font %.1f ms (%.0f %% of the minimal window), its twenty buttons made and shown "
        "%.1f ms; the monitor's own share beyond it %.1f ms\n",
        floorApplicationMs, floorFontMs, 100.0 * floorFontMs / floorMs.median, floorShownMs,
        bench::spreadOver(startups, [](const R& r) { return r.work.ms - r.floor.ms; }).median);

    const auto kb = [](long v) { return static_cast<double>(v); };
    const auto monitorKb =
        bench::spreadOver(startups, [&](const R& r) { return kb(r.work.peakKb); });
    const auto floorKb =
        bench::spreadOver(startups, [&](const R& r) { return kb(r.floor.peakKb); });
    std::printf("peak memory, all windows open: %.0f kB vs %.0f kB | ", monitorKb.median,
                floorKb.median);
    bench::printRatio(
        bench::spreadOver(startups,
                          [&](const R& r) { return kb(r.work.peakKb) / kb(r.floor.peakKb); }),
        startups.size(), 1.5);
    const Startup& monitor = startups.front().work;
    const Startup& floor = startups.front().floor;
    std::printf(
        "  of which window pixels: %ld kB (ten windows at their default sizes) vs %ld kB; "
        "without them the ratio is %.2f\n",
        monitor.windowPixelsKb, floor.windowPixelsKb,
        bench::spreadOver(startups, [&](const R& r) {
            return kb(r.work.peakKb - r.work.windowPixelsKb) /
                   kb(r.floor.peakKb - r.floor.windowPixelsKb);
        }).median);
    std::vector<double> blanks;
    for (int i = 0; i < 3; ++i)
        blanks.push_back(
            kb(bench::inChild([&] { return minimalWindow(argc, argv, monitor.shown); }).peakKb));
    const double blankKb = bench::spreadOf(blanks).median;
    std::printf(
        "  Qt alone with blank windows of the same %d sizes: %.0f kB (%.2f x the minimal "
        "window); the monitor is %.2f x that\n",
        monitor.shown.count, blankKb, blankKb / floorKb.median, monitorKb.median / blankKb);

    if (startupOnly) return 0;
    QApplication app(argc, argv);
    const int tickRounds = quick ? 7 : 15, ticksPerRound = quick ? 20 : 100;
    if (!benchTicks(profile, sim, tickRounds, ticksPerRound) ||
        !bench::benchCustomScreenTicks(profile, tickRounds, ticksPerRound))
        return 1;
    for (const int baud : {9600, 38400, 115200})
        if (!bench::benchSerialTicks(dir.path(), baud)) return 1;
    return 0;
}
