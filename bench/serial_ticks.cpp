#include "serial_ticks.h"

#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <string>

#include "app/main_window_model.h"
#include "counting_library.h"
#include "stats.h"
#include "link/dynamic_zel_library.h"
#include "link/link_thread_library.h"
#include "settings/first_run.h"
#include "tests/support/monitor_profile.h"
#include "tests/support/sim_process.h"
#include "timed_monitor.h"

namespace zel::bench {
namespace {

// Long enough for the longest reply at 9600 baud with room to spare.
constexpr int kSerialTimeoutMs = 3000;
// The controller's turnaround before each reply, as zelsim is told to wait.
constexpr int kTurnaroundMs = 1;

// Bytes the simulator has read from and written to the line so far.
struct LineBytes {
    long in = 0, out = 0;
};

LineBytes lineBytes(pid_t sim) {
    QFile io(QStringLiteral("/proc/%1/io").arg(sim));
    LineBytes bytes;
    if (!io.open(QIODevice::ReadOnly)) return bytes;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar: ")) bytes.in = line.mid(7).toLong();
        if (line.startsWith("wchar: ")) bytes.out = line.mid(7).toLong();
    }
    return bytes;
}

struct SerialTick {
    double ms = 0;
    long trips = 0;
    LineBytes bytes;  // to the controller, from it
};

SerialTick timedTick(MainWindowModel& model, CountingLibrary& library, pid_t sim) {
    library.roundTrips = 0;
    const LineBytes before = lineBytes(sim);
    QElapsedTimer clock;
    clock.start();
    model.pollingTick();
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const LineBytes after = lineBytes(sim);
    return {ms, library.roundTrips, {after.in - before.in, after.out - before.out}};
}

}  // namespace

bool benchSerialTicks(const QString& dir, int baud) {
    const QString line = dir + QStringLiteral("/line%1").arg(baud);
    test::SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--pty", line.toStdString(),
                          "--line-rate", "line", "--turnaround", std::to_string(kTurnaroundMs)});
    qputenv("ZELCOM_COMM1", line.toLocal8Bit());
    const QString profile = dir + QStringLiteral("/serial%1.ini").arg(baud);
    test::writeSerialProfile(profile, 1, kSerialTimeoutMs);
    test::setSettings(profile, QStringLiteral("Communications"), {{"BAUD Rate", baud}});

    DynamicZelLibrary real({QStringLiteral(ZELCOM_LIBRARY_FILE)});
    LinkThreadLibrary link(real);
    CountingLibrary library(link);
    AppState state;
    settings::SettingsStore store(profile);
    store.load(settings::firstRunSettings());
    StatusLog log(profile + QStringLiteral(".log"));
    TimedMainWindow window;
    MainWindowModel model(state, store, library, log, window);
    window.attach(model);
    model.load({});
    if (state.flags.NoCommunication) {
        std::fprintf(stderr, "no connection to the simulator at %d baud: %s\n", baud,
                     qPrintable(model.message()));
        return false;
    }
    openEveryWindow(window);
    // The first ticks learn what the windows read and which registers the controller lacks.
    for (int i = 0; i < 2; ++i) model.pollingTick();
    const SerialTick merged = timedTick(model, library, sim.pid());
    state.settings.ReadsOneByOne = true;
    model.pollingTick();
    const SerialTick single = timedTick(model, library, sim.pid());
    state.settings.ReadsOneByOne = false;
    if (state.flags.NoCommunication) {
        std::fprintf(stderr, "the link failed during the ticks at %d baud: %s\n", baud,
                     qPrintable(model.message()));
        return false;
    }

    // Ten bits a byte on the wire (start, eight data, stop), both ways, and each reply's turnaround.
    const auto wireMs = [baud](const SerialTick& t) {
        return static_cast<double>(t.bytes.in + t.bytes.out) * 10'000.0 / baud +
               static_cast<double>(t.trips * kTurnaroundMs);
    };
    std::printf(
        "serial tick at %d baud, every window open: %.0f ms, %ld round trips, %ld bytes to the "
        "controller and %ld back vs their time on the wire %.0f ms | ",
        baud, merged.ms, merged.trips, merged.bytes.in, merged.bytes.out, wireMs(merged));
    bench::printRatio(merged.ms / wireMs(merged), 1.2);
    std::printf(
        "  read one by one: %.0f ms, %ld round trips, %ld bytes to and %ld back | merged is "
        "%.2f times as fast, goal >= 3 %s\n",
        single.ms, single.trips, single.bytes.in, single.bytes.out, single.ms / merged.ms,
        single.ms / merged.ms >= 3 ? "met" : "NOT MET");
    return true;
}

}  // namespace zel::bench
