// The DDE exchange against the simulator through the real library: flags, a register and a
// block of fifty, written from the window and read back by the tick.
#include <gtest/gtest.h>

#include "common/key_codes.h"
#include "dde/dde_model.h"
#include "tests/support/sim_link.h"

using namespace zel;

TEST(DdeEndToEnd, WritesFromTheWindowComeBackThroughTheExchange) {
    test::SimLink link(ZELSIM_DEMO_SCENARIO);
    link.state.flags.DdeActive = true;
    link.state.dde = {.DdeBlock50 = 3, .DdeFlagAddress = 33, .DdeRegAddress = 100,
                      .UpdateInterval = 250};
    QStringList messages;
    DdeModel model(link.state, link.lib,
                   {[&](const QString& t) { messages << t; }, {}, {}, {}});
    model.load();
    PollContext context(link.state, link.lib, [] {});
    const auto enter = [&](const QString& box, const QString& text) {
        model.textChanged(box, text);
        model.keyPress(box, kEnterKey);
    };

    model.refresh(context);
    EXPECT_EQ(model.item("lblFlag(0)"), "Flag 33:");
    EXPECT_EQ(model.item("FlagValue(8)"), "1") << "flag 40 is set in the scenario";
    EXPECT_EQ(model.item("FlagValue(1)"), "0");
    EXPECT_EQ(model.item("RegRead"), "42");

    enter("FlagWrite", "5");
    enter("RegWrite", "-1234");
    model.textChanged("BlockAddress(1)", "101");
    model.textChanged("BlockWrite(1)", "65537");
    model.textChanged("BlockAddress(2)", "150");
    model.textChanged("BlockWrite(2)", "-9");
    model.execute("download");
    model.refresh(context);

    EXPECT_EQ(model.item("FlagValue(1)"), "1");
    EXPECT_EQ(model.item("RegRead"), "-1234");
    EXPECT_EQ(model.item("RegValue(1)"), "65537");
    EXPECT_EQ(model.item("RegValue(50)"), "-9");
    EXPECT_EQ(model.item("BlockRead(1)"), "65537");
    EXPECT_EQ(model.item("BlockRead(2)"), "-9");
    EXPECT_EQ(model.item("BlockWrite(1)"), "");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_FALSE(link.state.flags.CommErrorFlag);
}
