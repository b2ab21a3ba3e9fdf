// The page rules every paged window shares: jumps, scroll maxima, drags, the edit guard,
// names, load and unload.
#include "resources/analog_window_model.h"
#include "resources/flag_window_model.h"
#include "resources/register_window_model.h"
#include "resource_fixture.h"

using namespace zel;
using zel::test::ResourceFixture;

namespace {

// Counts what the model asks of its form.
struct CountingView : WindowView {
    int draws = 0;
    int gotoFocus = 0;
    int relabels = 0;
    void draw() override { ++draws; }
    void focusGoto() override { ++gotoFocus; }
    void releaseScrollBar() override { ++relabels; }
};

class PageModel : public ResourceFixture {};

}  // namespace

// What the goto box ends up showing (null: not checked) and the number of the top row.
TEST_F(PageModel, GotoClampsIntoEachBanksScrollRange) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    RegisterWindowModel nv(services(), RegisterBank::Upper);
    reg.open();
    nv.open();
    EXPECT_EQ(reg.maximum(), 31985);
    EXPECT_EQ(nv.gotoText(), QStringLiteral("32001"));
    const std::tuple<RegisterWindowModel*, const char*, const char*, const char*> cases[] = {
        {&reg, "0", "1", "1"},
        {&reg, "abc", "1", "1"},
        {&reg, "40000", "31985", "31985"},
        {&reg, "12.5", nullptr, "12"},
        {&nv, "40000", "40000", "40000"},
        {&nv, "50000", "47985", "47985"},
        {&nv, "17", nullptr, "32001"},
    };
    for (const auto& [model, typed, shown, top] : cases) {
        jump(*model, QString::fromLatin1(typed));
        if (shown) {
            EXPECT_EQ(model->gotoText(), QString::fromLatin1(shown)) << typed;
        }
        EXPECT_EQ(model->row(0).number, QString::fromLatin1(top)) << typed;
    }
    jump(reg, QStringLiteral("40000"));
    EXPECT_EQ(reg.row(15).number, QStringLiteral("32000"));
}

TEST_F(PageModel, GotoBoxStartsAFreshEntryOnItsFirstKey) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    EXPECT_TRUE(reg.gotoKey(u'5'));  // the design text goes
    EXPECT_EQ(reg.gotoText(), QString());
    reg.setGotoText(QStringLiteral("5"));
    EXPECT_TRUE(reg.gotoKey(u'0'));  // already started: kept
    EXPECT_EQ(reg.gotoText(), QStringLiteral("5"));
    EXPECT_TRUE(reg.gotoKey(u'r'));  // R always starts over
    EXPECT_EQ(reg.gotoText(), QString());
    reg.setGotoText(QStringLiteral("300"));
    EXPECT_FALSE(reg.gotoKey(QChar(13)));
    EXPECT_EQ(reg.row(0).number, QStringLiteral("300"));
    EXPECT_TRUE(reg.gotoKey(u'4'));  // a jump ends the entry
    EXPECT_EQ(reg.gotoText(), QString());
}

TEST_F(PageModel, ScrollMaximaFollowTheControllersCounts) {
    state.connection.Counts.setMain({20, 16, 16, 0, 4, 3, 4});
    FlagWindowModel flags(services());
    flags.open();
    EXPECT_EQ(flags.maximum(), 5);

    state.connection.Counts.setMain({10, 16, 16, 0, 4, 3, 4});
    FlagWindowModel few(services());
    few.open();
    EXPECT_EQ(few.maximum(), 1);
    EXPECT_EQ(few.row(9).name, QStringLiteral("flag_10"));
    for (int r = 10; r < 16; ++r) EXPECT_EQ(few.row(r).name, QStringLiteral("Not Present"));
    jump(few, QStringLiteral("7"));
    EXPECT_EQ(few.gotoText(), QStringLiteral("1"));

    AnalogWindowModel ain(services(), AnalogKind::Inputs);
    ain.open();
    EXPECT_EQ(ain.maximum(), 241);
    EXPECT_EQ(ain.largeStep(), 4);
    EXPECT_EQ(ain.row(2).value, QString());
    EXPECT_EQ(ain.row(3).name, QStringLiteral("Not Present"));
    EXPECT_EQ(ain.row(3).value, QStringLiteral("N/A"));

    state.RegisterLimit = 20000;
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    EXPECT_EQ(reg.maximum(), 11985);
}

TEST_F(PageModel, DraggingRelabelsAtMostEveryTwoSecondsAndOnRelease) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    CountingView view;
    reg.setView(&view);
    reg.open();
    for (int step = 0; step <= 20; ++step) reg.scrollDragged(100 + step, 1000.0 + step * 0.25);
    EXPECT_EQ(view.relabels, 2);
    EXPECT_EQ(reg.row(0).number, QStringLiteral("119"));  // the position of the last relabel
    reg.setPosition(120);                                 // released
    EXPECT_EQ(view.relabels, 3);
    EXPECT_EQ(reg.gotoText(), QStringLiteral("120"));
    EXPECT_EQ(view.gotoFocus, 3);

    reg.scrollDragged(200, 86399.5);  // a drag across midnight
    reg.scrollDragged(210, 2.0);
    EXPECT_EQ(reg.row(0).number, QStringLiteral("210"));
}

TEST_F(PageModel, EditGuardHoldsTheTypedRowUntilEnterOrFocusLoss) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    lib.setRegister(4, 77);
    EXPECT_TRUE(reg.valueKey(3, u'4'));
    EXPECT_EQ(reg.row(3).value, QString());
    reg.setValueText(3, QStringLiteral("4"));
    EXPECT_TRUE(reg.valueKey(3, u'2'));  // later keys keep what was typed
    EXPECT_EQ(reg.row(3).value, QStringLiteral("4"));
    reg.setValueText(3, QStringLiteral("42"));
    EXPECT_FALSE(tick(reg).contains(4));
    EXPECT_EQ(reg.row(3).value, QStringLiteral("42"));

    reg.valueFocusLost(3);
    EXPECT_EQ(reg.row(3).value, QString());
    EXPECT_TRUE(tick(reg).contains(4));
    EXPECT_EQ(reg.row(3).value, QStringLiteral("77"));

    reg.valueDelete(5);
    EXPECT_TRUE(reg.editGuard().skips(5));
}

TEST_F(PageModel, FocusKeysAndLabelClicksGiveTheGotoBoxTheFocus) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    CountingView view;
    reg.setView(&view);
    reg.open();
    reg.setValueText(2, QStringLiteral("55"));
    EXPECT_FALSE(reg.valueKey(2, u'R'));
    EXPECT_EQ(reg.row(2).value, QStringLiteral("55"));
    EXPECT_FALSE(reg.editGuard().active());
    reg.labelClicked();
    EXPECT_EQ(view.gotoFocus, 2);

    AnalogWindowModel aout(services(), AnalogKind::Outputs);
    aout.open();
    aout.setValueText(1, QStringLiteral("12"));
    EXPECT_FALSE(aout.valueKey(1, u'a'));
    EXPECT_EQ(aout.row(1).value, QStringLiteral("12"));
}

TEST_F(PageModel, UnloadSavesPlacementClearsTheFlagAndReports) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.unload(settings::DisplayState::Normal, {1, 2, 3, 4});  // never loaded: nothing
    EXPECT_TRUE(messages.isEmpty());

    EXPECT_EQ(*reg.open(), (settings::WindowPlacement{1668, 924, 5184, 5000}));
    EXPECT_TRUE(state.flags.windows.RegFormOpen);
    EXPECT_FALSE(reg.open().has_value());  // shown again: stays where it is
    reg.unload(settings::DisplayState::Normal, {100, 200, 3000, 4000});
    EXPECT_FALSE(state.flags.windows.RegFormOpen);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Register Form unloaded.")});
    EXPECT_EQ(*reg.open(), (settings::WindowPlacement{100, 200, 3000, 4000}));
    reg.unload(settings::DisplayState::Maximized, {0, 0, 0, 0});
    EXPECT_EQ(*reg.open(), (settings::WindowPlacement{1200, 924, 4956, 3828}));
}

TEST_F(PageModel, UnloadWithoutItsSectionShowsTheWriteFailure) {
    settings::SettingsStore bare(dir.filePath(QStringLiteral("bare.conf")));
    bare.load({});
    ResourceServices s{state,
                       lib,
                       bare,
                       nullptr,
                       [this](const QString& t) { messages << t; },
                       [this](const QString& t) { boxes << t; }};
    FlagWindowModel flags(s);
    EXPECT_EQ(*flags.open(), (settings::WindowPlacement{1488, 3192, 4956, 5000}));
    flags.unload(settings::DisplayState::Normal, {1, 2, 3, 4});
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Cannot WRITE Flags settings to Registry !")});
    EXPECT_EQ(messages, QStringList{QStringLiteral("Flag Form unloaded.")});
    EXPECT_FALSE(state.flags.windows.FlagFormOpen);
}
