// The windows against the real library and a running simulator over TCP: what the user types
// or clicks changes the controller, and a page shows the controller's live values.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

#include "resources/analog_window_model.h"
#include "resources/digital_window_model.h"
#include "link/dynamic_zel_library.h"
#include "settings/first_run.h"
#include "resources/flag_window_model.h"
#include "resources/register_bits_model.h"
#include "resources/register_window_model.h"
#include "tests/support/sim_process.h"

using namespace zel;
using zel::test::SimProcess;

namespace {

class EndToEnd : public ::testing::Test {
protected:
    SimProcess sim{{"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"}};
    DynamicZelLibrary lib{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath(QStringLiteral("settings.conf"))};
    AppState state;
    QStringList messages;

    void SetUp() override {
        ASSERT_TRUE(lib.isLoaded()) << lib.loadError().toStdString();
        store.load(settings::firstRunSettings());
        ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
        int32_t timeout = 1000;
        const int32_t handle = lib.ZlOpenNetConnection(
            LinkKind::Tcp, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)), timeout);
        ASSERT_GT(handle, 0);
        state.connection.CommHandle = handle;
        int32_t second = 0;
        ASSERT_EQ(lib.ZlGetModel(handle, state.connection.ModelCode, second), 1);
        std::array<int32_t, 7> counts{};
        ASSERT_EQ(lib.ZlGetIoCount(handle, counts), 1);
        state.connection.Counts.setMain(counts);
        state.flags.NoCommunication = false;
        state.flags.CommErrorFlag = false;
    }
    void TearDown() override {
        lib.ZlCloseConnection(state.connection.CommHandle);
        ::unsetenv("ZELCOM_TCP_PORT");
    }

    ResourceServices services() {
        return {state,
                lib,
                store,
                nullptr,
                [this](const QString& t) { messages << t; },
                [](const QString&) {}};
    }
    void tick(PollBlock& block) {
        PollContext context(state, lib, [] {});
        block.refresh(context);
    }
    int32_t controller(int32_t number) {
        int32_t value = 0;
        EXPECT_EQ(lib.ZlGetRegister(state.connection.CommHandle, number, value), 1);
        return value;
    }
};

}  // namespace

TEST_F(EndToEnd, TypingARegisterChangesTheController) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    reg.gotoKey(u'1');
    reg.setGotoText(QStringLiteral("17"));
    reg.gotoKey(QChar(13));
    reg.valueKey(0, u'4');
    reg.setValueText(0, QStringLiteral("4321"));
    reg.valueKey(0, QChar(13));
    EXPECT_EQ(messages.last(), QStringLiteral("Register #17 updated."));
    EXPECT_EQ(controller(17), 4321);

    reg.setPosition(1);
    tick(reg);
    EXPECT_EQ(reg.row(1).value, QStringLiteral("1234"));
    EXPECT_EQ(reg.row(2).value, QStringLiteral("-5"));
    EXPECT_FALSE(state.flags.CommErrorFlag);
}

TEST_F(EndToEnd, NvRegistersShowIntegersAndDoubles) {
    ASSERT_EQ(state.connection.ModelCode, 5);
    RegisterWindowModel nv(services(), RegisterBank::Upper);
    nv.open();
    tick(nv);
    EXPECT_EQ(nv.row(0).value, QStringLiteral("7"));
    nv.setPosition(4001);
    tick(nv);
    EXPECT_EQ(nv.row(0).value, QStringLiteral("2.5"));
    nv.valueKey(1, u'6');
    nv.setValueText(1, QStringLiteral("6.75"));
    nv.valueKey(1, QChar(13));
    EXPECT_EQ(messages.last(), QStringLiteral("Register #36002 updated."));
    tick(nv);
    EXPECT_EQ(nv.row(1).value, QStringLiteral("6.75"));
}

TEST_F(EndToEnd, FlagsAndOutputsToggleInTheController) {
    FlagWindowModel flags(services());
    flags.open();
    flags.setPosition(25);
    tick(flags);
    EXPECT_EQ(flags.row(15).value, QStringLiteral("Set"));  // flag 40
    flags.flagClicked(15);
    EXPECT_EQ(messages.last(), QStringLiteral("Flag #40 updated."));
    EXPECT_FALSE(controller(13022) & (1 << 7));
    flags.flagClicked(0);  // flag 25
    EXPECT_TRUE(controller(13021) & (1 << 24));

    DigitalWindowModel out(services(), DigitalKind::Outputs);
    out.open();
    tick(out);
    EXPECT_EQ(out.row(4).value, QStringLiteral("Off"));
    out.outputClicked(4);
    EXPECT_EQ(messages.last(), QStringLiteral("Output #5 updated."));
    EXPECT_EQ(controller(1005), 1);
    tick(out);
    EXPECT_EQ(out.row(4).name, QStringLiteral("OUT_5_ON"));
}

TEST_F(EndToEnd, AnalogChannelsBeyondTheCountShowNotAvailable) {
    AnalogWindowModel ain(services(), AnalogKind::Inputs);
    ain.open();
    tick(ain);
    EXPECT_NE(ain.row(7).value, QStringLiteral("*"));
    EXPECT_EQ(ain.row(8).value, QStringLiteral("N/A"));
    EXPECT_FALSE(state.flags.CommErrorFlag);

    AnalogWindowModel aout(services(), AnalogKind::Outputs);
    aout.open();
    tick(aout);
    EXPECT_EQ(aout.row(0).value, QStringLiteral("5000"));
    aout.valueKey(1, u'2');
    aout.setValueText(1, QStringLiteral("25000"));
    aout.valueKey(1, QChar(13));
    EXPECT_EQ(controller(8002), 20000);
}

TEST_F(EndToEnd, ABitClickChangesTheControllerAtTheNextTick) {
    RegisterBitsModel bits(services());
    bits.open();
    tick(bits);
    EXPECT_EQ(bits.row(1).value, QStringLiteral("1234"));
    bits.bitClicked(32 + 4);  // register 2, bit 4 of 1234
    EXPECT_EQ(controller(2), 1234);
    tick(bits);
    EXPECT_EQ(messages.last(), QStringLiteral("Register #2 updated."));
    EXPECT_EQ(controller(2), 1218);
    EXPECT_EQ(bits.row(1).value, QStringLiteral("1218"));
    EXPECT_FALSE(state.flags.CommErrorFlag);
}
