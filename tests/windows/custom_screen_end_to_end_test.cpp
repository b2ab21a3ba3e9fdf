// A custom screen against the simulator through the real library: a screen of mixed kinds shows
// the controller's values, and values typed into the writable kinds change the controller.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/first_run.h"
#include "tests/support/sim_link.h"
#include "windows/custom_screen_model.h"

using namespace zel;

namespace {

class CustomScreenEndToEnd : public ::testing::Test {
protected:
    test::SimLink link{ZELSIM_DEMO_SCENARIO};
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath(QStringLiteral("settings.conf"))};
    QStringList messages;
    CustomScreenModel screen{CustomScreen::First,
                             {link.state, link.lib, store, nullptr,
                              [this](const QString& t) { messages << t; },
                              [](const QString&) {}},
                             nullptr};

    void SetUp() override {
        store.load(settings::firstRunSettings());
        screen.open();
        // Flag 40, output 8, analog output 1, register 100, servo 4, input 5.
        const std::pair<int16_t, int32_t> rows[] = {{1, 40}, {3, 8},  {5, 1},
                                                    {6, 100}, {7, 4}, {2, 5}};
        for (int r = 0; const auto& [kind, number] : rows) {
            screen.kindChosen(r, kind);
            screen.numberKey(r, u'1');
            screen.setNumberText(r, QString::number(number));
            screen.numberKey(r++, QChar(13));
        }
    }

    QStringList tick() {
        PollContext context(link.state, link.lib, [] {});
        screen.refresh(context);
        QStringList shown;
        for (int r = 0; r < 6; ++r) shown << screen.valueText(r);
        return shown;
    }

    void type(int r, const QString& text) {
        screen.valueKey(r, u'1');
        screen.setValueText(r, text);
        screen.valueKey(r, QChar(13));
    }
};

}  // namespace

TEST_F(CustomScreenEndToEnd, ShowsTheControllersValuesAndWritesWhatIsTyped) {
    EXPECT_EQ(tick(), (QStringList{"Set", "0", "5000", "42", "0", "0"}));

    type(0, QStringLiteral("0"));
    type(1, QStringLiteral("1"));
    type(2, QStringLiteral("12000"));
    type(3, QStringLiteral("-9"));
    type(4, QStringLiteral("1234"));
    EXPECT_EQ(messages, (QStringList{"Flag #40 updated.", "Output #8 updated.",
                                     "Analog Output #1 updated.", "Register #100 updated.",
                                     "Servo Position #4 updated."}));
    EXPECT_EQ(link.reg(13022) & 0b1000'0000, 0);
    EXPECT_EQ(link.reg(1008), 1);
    EXPECT_EQ(link.reg(8001), 10000);
    EXPECT_EQ(link.reg(100), -9);
    EXPECT_EQ(link.reg(14004), 1234);
    EXPECT_EQ(tick(), (QStringList{"Clear", "1", "10000", "-9", "1234", "0"}));

    messages.clear();
    type(5, QStringLiteral("1"));  // an input is read-only: nothing is sent
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(link.reg(2005), 0);
    EXPECT_FALSE(link.state.flags.CommErrorFlag);
}
