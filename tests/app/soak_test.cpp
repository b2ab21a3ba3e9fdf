// A bounded soak: the simulator dies and comes back, or is frozen and thawed, many times while
// the monitor polls it. Every time the monitor finds the controller again by itself, and no
// descriptor is left behind. How long a tick takes is measured in bench/, not here.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

#include "app/main_window_model.h"
#include "link/dynamic_zel_library.h"
#include "recording_view.h"
#include "settings/first_run.h"
#include "tests/support/settings_file.h"
#include "tests/support/sim_process.h"

using namespace zel;

namespace {

constexpr int kTimeoutMs = 300;

size_t openDescriptors() {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

class Soak : public ::testing::Test {
protected:
    QTemporaryDir dir;
    StatusLog log{dir.filePath(QStringLiteral("zelmon.log"))};
    DynamicZelLibrary lib{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    test::RecordingView view;
    AppState state;
    settings::SettingsStore store{dir.filePath(QStringLiteral("settings.ini"))};
    MainWindowModel model{state, store, lib, log, view};
    test::SimProcess sim{{"--tcp", "0"}};

    void SetUp() override {
        ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
        ASSERT_TRUE(test::setSettings(
            store.filePath(), QStringLiteral("Communications"),
            {{"COMM Port", 2}, {"IP Address", "127.0.0.1"}, {"Timeout", kTimeoutMs}}));
        store.load(settings::firstRunSettings());
        model.load({});
        ASSERT_FALSE(state.flags.NoCommunication) << model.message().toStdString();
    }
    void TearDown() override { ::unsetenv("ZELCOM_TCP_PORT"); }

    void tick() { model.pollingTick(); }
    // Ticks until the monitor polls again; false if it has not after many ticks.
    bool ticksUntilConnected() {
        for (int i = 0; i < 200; ++i) {
            tick();
            if (!state.flags.NoCommunication && state.connection.CommHandle != 0) return true;
        }
        return false;
    }
};

}  // namespace

// Killed and restarted thirty times, then frozen and thawed five times, the simulator is found
// again every time, and the monitor ends with the descriptors it started with.
TEST_F(Soak, KilledOrFrozenTheSimulatorIsFoundAgainEveryTime) {
    const size_t descriptors = openDescriptors();
    for (int round = 0; round < 35; ++round) {
        SCOPED_TRACE(round);
        if (round < 30) {
            sim.kill();
            tick();
            tick();
            EXPECT_TRUE(state.flags.NoCommunication);
            sim.restart();
        } else {
            sim.pause();
            tick();
            EXPECT_TRUE(state.flags.NoCommunication);
            tick();
            tick();
            sim.resume();
        }
        ASSERT_TRUE(ticksUntilConnected());
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_TRUE(model.message().startsWith(QStringLiteral("Connected to TCP/IP 127.0.0.1")));
}
