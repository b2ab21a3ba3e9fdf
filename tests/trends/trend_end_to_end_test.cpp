// The trended set against the real library and the demo simulator over TCP: a trended analog
// input follows the simulator's wave, and within a tick it has the value its window shows.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <set>

#include "app/tick_read_cache.h"
#include "link/dynamic_zel_library.h"
#include "resources/analog_window_model.h"
#include "settings/first_run.h"
#include "tests/support/sim_process.h"
#include "trends/trend_block.h"

using namespace zel;
using zel::test::SimProcess;

TEST(TrendEndToEnd, ATrendedAnalogInputFollowsTheWaveWithinATick) {
    SimProcess sim{{"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"}};
    DynamicZelLibrary lib{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    ASSERT_TRUE(lib.isLoaded()) << lib.loadError().toStdString();
    TickReadCache reads(lib);
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath(QStringLiteral("settings.conf"))};
    store.load(settings::firstRunSettings());
    AppState state;
    ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
    int32_t timeout = 1000;
    state.connection.CommHandle = reads.ZlOpenNetConnection(
        LinkKind::Tcp, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)), timeout);
    ::unsetenv("ZELCOM_TCP_PORT");
    ASSERT_GT(state.connection.CommHandle, 0);
    state.connection.Counts.setMain({64, 16, 16, 0, 4, 8, 4});
    state.flags.NoCommunication = false;
    state.flags.CommErrorFlag = false;

    AnalogWindowModel window({state, reads, store, nullptr, {}, {}}, AnalogKind::Inputs);
    window.open();
    constexpr int kTicks = 50000;
    TrendSet set(kTicks);
    TrendLog log([](const QString&) {});
    TrendBlock trend(set, log);
    set.add({QStringLiteral("Analog input 1"), TrendSource::reg(8501)});

    // The wave (-10000..10000 over 4 s) moves however fast the ticks come: tick until it has
    // shown 20 values.
    std::set<int32_t> seen;
    for (int tick = 0; tick < kTicks && seen.size() < 20; ++tick) {
        reads.beginTick();
        PollContext context(state, reads, [] {});
        window.refresh(context);
        trend.refresh(context);
        reads.endTick();
        ASSERT_FALSE(state.flags.CommErrorFlag);
        const TrendSample& newest = set.series()[0].history.back();
        ASSERT_EQ(set.series()[0].history.size(), static_cast<size_t>(tick + 1));
        EXPECT_EQ(QString::number(newest.value), window.row(0).value);
        EXPECT_GE(newest.value, -10000);
        EXPECT_LE(newest.value, 10000);
        seen.insert(newest.value);
    }
    EXPECT_GE(seen.size(), 20U);
    reads.ZlCloseConnection(state.connection.CommHandle);
}
