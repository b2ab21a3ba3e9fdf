// The windows against the real library and a running simulator over TCP: what the user types
// or clicks changes the controller, and a page shows the controller's live values.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "resource_fixture.h"
#include "resources/digital_window_model.h"
#include "resources/flag_window_model.h"
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

// The real wiring of a typed value and of clicked flags and outputs; the other windows' rules
// are checked over the test double in value_entry_test and register_bits_test.
TEST_F(EndToEnd, TypedAndClickedValuesChangeTheController) {
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
    EXPECT_FALSE(state.flags.CommErrorFlag);
}
