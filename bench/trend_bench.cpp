// The cost of trending, against the simulator over TCP: one polling tick with the Registers and
// NV registers windows open and the 32 values they show trended and logged to a CSV file, as a
// ratio to the same tick with nothing trended, goal 1.05. The trended values are read once per
// tick with the windows' own reads, so what trending adds is recording the samples and writing
// the log line. Ticks without and with trending alternate round by round, the first of each
// round switching, so a drift in the machine's load weighs on both alike. Then the trended tick
// as a ratio to its round trips made in a row, with its shares in the library and events.
//
//   zelbench_trends [--quick]
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/main_window_model.h"
#include "counting_library.h"
#include "link/dynamic_zel_library.h"
#include "settings/first_run.h"
#include "settings/settings_sections.h"
#include "stats.h"
#include "tests/support/sim_process.h"
#include "tick_rounds.h"
#include "timed_monitor.h"

using namespace zel;

namespace {

constexpr int kShownRows = 16;  // per window

// The values on the first page of both windows, as Add to Trend on each row names them.
void trendShownRows(MainWindowModel& model) {
    for (int32_t n = 1; n <= kShownRows; ++n) {
        model.addToTrend({QStringLiteral("Register %1").arg(n), TrendSource::reg(n)});
        model.addToTrend(
            {QStringLiteral("NV Register %1").arg(32000 + n), TrendSource::reg(32000 + n)});
    }
}

// The median tick in microseconds over `ticks` ticks.
double medianTickUs(MainWindowModel& model, int ticks) {
    return bench::measure(ticks, [&] { model.pollingTick(); }).median_us;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    test::SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"});
    ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("settings.ini"));
    const QString logPath = dir.filePath(QStringLiteral("trend.csv"));
    bench::writeSimulatorProfile(profile, 1000);

    QApplication app(argc, argv);
    DynamicZelLibrary real({QStringLiteral(ZELCOM_LIBRARY_FILE)});
    bench::CountingLibrary library(real);
    AppState state;
    settings::SettingsStore store(profile);
    store.load(settings::firstRunSettings());
    StatusLog log(profile + QStringLiteral(".log"));
    bench::TimedMainWindow window;
    MainWindowModel model(state, store, library, log, window);
    window.attach(model);
    model.load({});
    if (state.flags.NoCommunication) {
        std::fprintf(stderr, "no connection to the simulator: %s\n", qPrintable(model.message()));
        return 1;
    }
    for (const char* button : {"RegisterButton", "NVRamButton"})
        window.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    QApplication::processEvents();

    const auto tripsPerTick = [&] {
        model.pollingTick();
        library.roundTrips = 0;
        model.pollingTick();
        return library.roundTrips;
    };
    const long plainTrips = tripsPerTick();
    const auto trendingOn = [&] {
        trendShownRows(model);
        return model.trendBlock().startLogging(logPath);
    };
    if (!trendingOn()) {
        std::fprintf(stderr, "logging did not start: %s\n", qPrintable(model.message()));
        return 1;
    }
    const long trendedTrips = tripsPerTick();
    const size_t trended = model.trends().series().size();
    model.clearTrends();

    const int rounds = quick ? 7 : 15, ticksPerRound = quick ? 50 : 200;
    std::vector<double> plain, trending, ratios;
    for (int round = 0; round < rounds; ++round) {
        double off = 0, on = 0;
        if (round % 2 == 0) off = medianTickUs(model, ticksPerRound);
        trendingOn();
        on = medianTickUs(model, ticksPerRound);
        model.clearTrends();
        if (round % 2 == 1) off = medianTickUs(model, ticksPerRound);
        plain.push_back(off);
        trending.push_back(on);
        ratios.push_back(on / off);
    }
    if (trended != 2 * kShownRows || state.flags.NoCommunication) {
        std::fprintf(stderr, "the ticks did not run as set up: %zu trended; %s\n", trended,
                     qPrintable(model.message()));
        return 1;
    }
    const bench::Spread on = bench::spreadOf(trending), off = bench::spreadOf(plain);
    std::printf(
        "tick, Registers and NV registers open, their %zu values trended and logged: %.1f us "
        "(%.1f-%.1f), %ld round trips vs untrended %.1f us (%.1f-%.1f), %ld round trips | ",
        trended, on.median, on.min, on.max, trendedTrips, off.median, off.min, off.max,
        plainTrips);
    bench::printRatio(bench::spreadOf(ratios), ratios.size(), 1.05);

    trendingOn();
    int32_t value = 0;
    bench::printTickRounds("Registers and NV registers open, their values trended and logged",
                           bench::measureTickRounds(
                               rounds, ticksPerRound / 2, trendedTrips,
                               [&] { real.ZlGetRegister(state.connection.CommHandle, 1, value); },
                               [&] { model.pollingTick(); }, library, window.pumpNs),
                           1.1);
    model.clearTrends();
    return 0;
}
