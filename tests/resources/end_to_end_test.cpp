// The windows against the real library and a running simulator over TCP: what the user types
// or clicks changes the controller, and a page shows the controller's live values.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "resource_fixture.h"
#include "resources/analog_window_model.h"
#include "resources/digital_window_model.h"
#include "resources/flag_window_model.h"
#include "resources/register_bits_model.h"
#include "resources/register_window_model.h"
#include "settings/first_run.h"
#include "tests/support/sim_link.h"

using namespace zel;
using Typing = zel::test::ResourceFixture;

namespace {

class EndToEnd : public ::testing::Test {
protected:
    test::SimLink link{ZELSIM_DEMO_SCENARIO};
    AppState& state = link.state;
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath(QStringLiteral("settings.conf"))};
    QStringList messages;

    void SetUp() override {
        ASSERT_GT(link.handle(), 0) << link.lib.loadError().toStdString();
        store.load(settings::firstRunSettings());
    }
    ResourceServices services() {
        return {state,
                link.lib,
                store,
                nullptr,
                [this](const QString& t) { messages << t; },
                [](const QString&) {}};
    }
    void tick(PollBlock& block) {
        PollContext context(state, link.lib, [] {});
        block.refresh(context);
    }
};

}  // namespace

TEST_F(EndToEnd, TypingARegisterChangesTheController) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    Typing::jump(reg, QStringLiteral("17"));
    Typing::enter(reg, 0, QStringLiteral("4321"));
    EXPECT_EQ(messages.last(), QStringLiteral("Register #17 updated."));
    EXPECT_EQ(link.reg(17), 4321);

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
    Typing::enter(nv, 1, QStringLiteral("6.75"));
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
    EXPECT_FALSE(link.reg(13022) & (1 << 7));
    flags.flagClicked(0);  // flag 25
    EXPECT_TRUE(link.reg(13021) & (1 << 24));

    DigitalWindowModel out(services(), DigitalKind::Outputs);
    out.open();
    tick(out);
    EXPECT_EQ(out.row(4).value, QStringLiteral("Off"));
    out.outputClicked(4);
    EXPECT_EQ(messages.last(), QStringLiteral("Output #5 updated."));
    EXPECT_EQ(link.reg(1005), 1);
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
    Typing::enter(aout, 1, QStringLiteral("25000"));
    EXPECT_EQ(link.reg(8002), 20000);
}

TEST_F(EndToEnd, ABitClickChangesTheControllerAtTheNextTick) {
    RegisterBitsModel bits(services());
    bits.open();
    tick(bits);
    EXPECT_EQ(bits.row(1).value, QStringLiteral("1234"));
    bits.bitClicked(32 + 4);  // register 2, bit 4 of 1234
    EXPECT_EQ(link.reg(2), 1234);
    tick(bits);
    EXPECT_EQ(messages.last(), QStringLiteral("Register #2 updated."));
    EXPECT_EQ(link.reg(2), 1218);
    EXPECT_EQ(bits.row(1).value, QStringLiteral("1218"));
    EXPECT_FALSE(state.flags.CommErrorFlag);
}
