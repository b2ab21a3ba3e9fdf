// The forms offscreen: control names, keys and clicks reaching the library, the close.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include "common/state_button.h"
#include "resource_fixture.h"
#include "resources/frm_analog.h"
#include "resources/frm_digital.h"
#include "resources/frm_flag.h"
#include "resources/frm_reg.h"
#include "resources/frm_reg_bits.h"
#include "resources/frm_servo.h"
#include "settings/placement_store.h"
#include "settings/settings_sections.h"
#include "tests/support/widget_child.h"
#include "trends/trend_set.h"

using namespace zel;
using zel::test::child;
using zel::test::ResourceFixture;

namespace {

class Forms : public ResourceFixture {
protected:
    MessageSink status() {
        return [this](const QString& t) { messages << t; };
    }
    template <typename Form>
    void prepare(Form& form) {
        form.setMessageBoxHandler([this](const QString& t) { boxes << t; });
        state.connection.ConnectionCaption = QStringLiteral(" - TCP/IP 127.0.0.1");
        form.open();
    }
};

// The colour a button's text is drawn in: a state button's own, else its palette's.
QColor inkOf(QPushButton& button) {
    if (auto* coloured = dynamic_cast<StateButton*>(&button)) return coloured->textColour();
    return button.palette().color(button.foregroundRole());
}

}  // namespace

TEST_F(Forms, RegistersFormTypesGoesToAndCloses) {
    frmReg form(state, lib, store, nullptr, status());
    prepare(form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Registers - TCP/IP 127.0.0.1"));
    EXPECT_EQ(child<QLabel>(form, "Label1_0")->text(), QStringLiteral("reg_1"));

    auto* box = child<QLineEdit>(form, "Text1_0");
    QTest::keyClicks(box, QStringLiteral("42"));
    EXPECT_EQ(box->text(), QStringLiteral("42"));
    lib.clearCalls();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(lib.calls(), QStringList{QStringLiteral("ZlPutRegister(7, 1, 42)")});
    EXPECT_EQ(messages.last(), QStringLiteral("Register #1 updated."));

    auto* row3 = child<QLineEdit>(form, "Text1_3");
    QTest::keyClicks(row3, QStringLiteral("7"));
    QFocusEvent switched(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(row3, &switched);  // another window got the focus: kept
    EXPECT_EQ(row3->text(), QStringLiteral("7"));
    QFocusEvent left(QEvent::FocusOut, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(row3, &left);
    EXPECT_EQ(row3->text(), QString());

    auto* gotoBox = child<QLineEdit>(form, "Text2");
    QTest::keyClicks(gotoBox, QStringLiteral("40000"));
    QTest::keyClick(gotoBox, Qt::Key_Enter);
    EXPECT_EQ(child<QScrollBar>(form, "VScroll1")->value(), 31985);
    EXPECT_EQ(child<QLabel>(form, "Label2_0")->text(), QStringLiteral("31985"));

    child<QAction>(form, "DisplayMnu_1")->trigger();
    EXPECT_EQ(child<QLabel>(form, "Label4")->text(), QStringLiteral("Hexadecimal View"));
    EXPECT_TRUE(child<QAction>(form, "DisplayMnu_2")->isChecked());

    form.retitle(QStringLiteral(" - COMM1 Baud 9600"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Registers - COMM1 Baud 9600"));
    form.close();
    EXPECT_FALSE(state.flags.windows.RegFormOpen);
    EXPECT_EQ(messages.last(), QStringLiteral("Register Form unloaded."));
    EXPECT_TRUE(boxes.isEmpty());
}

// Whole pixels cannot hold every twips value (1008 twips are 67.2 pixels at 96 dpi): a window
// closed where it was put stores exactly what it read, one that moved stores where it went.
TEST_F(Forms, AWindowClosedUnmovedStoresThePlacementItRead) {
    settings::SettingsHandle h = 0;
    ASSERT_TRUE(store.OpenSettingsKey(settings::sectionPath(QStringLiteral("Registers")), h));
    store.SetNumberValue(h, QStringLiteral("Top"), 1008);
    store.SetNumberValue(h, QStringLiteral("Left"), 929);
    store.SetNumberValue(h, QStringLiteral("Height"), 9008);
    store.SetNumberValue(h, QStringLiteral("Width"), 6003);
    ASSERT_TRUE(store.CloseSettingsKey(h));
    const auto stored = [this] {
        return settings::restorePlacement(store, settings::PlacementSection::Registers).placement;
    };
    frmReg form(state, lib, store, nullptr, status());
    prepare(form);
    form.close();
    EXPECT_EQ(stored(), (settings::WindowPlacement{1008, 929, 9008, 6003}));

    prepare(form);
    form.move(form.x() + 10, form.y());
    form.close();
    EXPECT_EQ(stored(), (settings::WindowPlacement{1008, 1080, 9008, 6003})) << "moved right";
}

TEST_F(Forms, ScrollBarStepsRelabelThePage) {
    frmAnalOut form(state, lib, store, nullptr, status());
    prepare(form);
    auto* bar = child<QScrollBar>(form, "VScroll1");
    EXPECT_EQ(bar->maximum(), 241);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(child<QLabel>(form, "Label2_0")->text(), QStringLiteral("5"));
    EXPECT_EQ(child<QLineEdit>(form, "Text2")->text(), QStringLiteral("5"));
    EXPECT_EQ(child<QLabel>(form, "Label1_0")->text(), QStringLiteral("aout_5"));
}

TEST_F(Forms, ButtonsAndPanelsReachTheirModels) {
    frmFlag flags(state, lib, store, nullptr, status());
    prepare(flags);
    lib.clearCalls();
    QTest::mouseClick(child<QPushButton>(flags, "SSCommand1_2"), Qt::LeftButton);
    EXPECT_EQ(lib.calls(), QStringList{QStringLiteral("ZlPutFlag(7, 3, 1)")});
    EXPECT_EQ(child<QPushButton>(flags, "SSCommand1_2")->text(), QStringLiteral("Set"));

    frmDigOut out(state, lib, store, nullptr, status());
    prepare(out);
    lib.clearCalls();
    QTest::mouseClick(child<QPushButton>(out, "SSCommand1_4"), Qt::LeftButton);
    EXPECT_EQ(lib.calls(), QStringList{QStringLiteral("ZlPutRegister(7, 1005, 1)")});
    EXPECT_EQ(child<QLabel>(out, "Label1_4")->text(), QStringLiteral("OUT_5_ON"));

    frmDigIn in(state, lib, store, nullptr, status());
    prepare(in);
    EXPECT_EQ(child<QLabel>(in, "SSPanel1_0")->text(), QStringLiteral("Off"));
}

// An output's button shows each state in its colour and keeps the palette it inherits: a
// palette of its own at each change would be a new key for the style's cached images of the
// button, and a window of outputs that keep changing would fill the pixmap cache with them.
TEST_F(Forms, OutputButtonsColourTheirStatesInTheInheritedPalette) {
    frmDigOut out(state, lib, store, nullptr, status());
    prepare(out);
    auto* button = child<QPushButton>(out, "SSCommand1_4");
    const qint64 inherited = out.palette().cacheKey();
    for (const auto& [shows, ink] : {std::pair{"On", QColor(0, 128, 0)},
                                     std::pair{"Off", QColor(255, 0, 0)},
                                     std::pair{"On", QColor(0, 128, 0)}}) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(button->text(), QLatin1String(shows));
        EXPECT_EQ(button->palette().cacheKey(), inherited) << shows;
        EXPECT_EQ(inkOf(*button), ink) << shows;
    }
}

TEST_F(Forms, ServoWindowsShareOneModel) {
    state.connection.Counts.setMain({64, 16, 16, 0, 20, 8, 4});
    frmServo first(state, lib, store, nullptr, status());
    frmServo2 second(state, lib, store, nullptr, status(), first);
    prepare(second);
    prepare(first);
    EXPECT_EQ(second.windowTitle(), QStringLiteral("Motors/Servos 17-32 - TCP/IP 127.0.0.1"));
    EXPECT_EQ(child<QLabel>(second, "Label4_4")->text(), QStringLiteral("Not Present"));
    auto* box = child<QLineEdit>(second, "Text1_0");
    QTest::keyClicks(box, QStringLiteral("1000"));
    lib.clearCalls();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(lib.calls(), QStringList{QStringLiteral("ZlPutRegister(7, 14017, 1000)")});

    lib.setRegister(14017, 990);
    tick(first.pollBlock());
    EXPECT_EQ(box->text(), QStringLiteral("990"));
    second.close();
    EXPECT_TRUE(state.flags.windows.ServoFormOpen);
    first.close();
    EXPECT_FALSE(state.flags.windows.ServoFormOpen);
    EXPECT_EQ(messages.last(), QStringLiteral("Servo Form unloaded."));
}

TEST_F(Forms, RegisterBitsFormShowsEachBitAndTakesItsRange) {
    frmRegBits form(state, lib, store, nullptr, status());
    prepare(form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("ZEL Registers (Bits) - TCP/IP 127.0.0.1"));
    EXPECT_TRUE(child<QRadioButton>(form, "Option1")->isChecked());
    EXPECT_EQ(child<QLabel>(form, "Label5_31")->text(), QStringLiteral("31"));
    EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("Label1_0")), nullptr);

    lib.setRegister(2, 5);
    tick(form.pollBlock());
    EXPECT_EQ(child<QLineEdit>(form, "Text1_1")->text(), QStringLiteral("5"));
    EXPECT_TRUE(child<QCheckBox>(form, "Bit1_34")->isChecked());  // row 1, bit 2
    child<QCheckBox>(form, "Bit1_32")->click();
    EXPECT_EQ(child<QLineEdit>(form, "Text1_1")->text(), QStringLiteral("4"));
    tick(form.pollBlock());  // writes the click and frees the boxes for typing

    auto* box = child<QLineEdit>(form, "Text1_0");
    QTest::keyClicks(box, QStringLiteral("2147483648"));
    EXPECT_TRUE(child<QCheckBox>(form, "Bit1_31")->isChecked());

    form.selectRange(RegisterBank::Upper);
    EXPECT_EQ(child<QLineEdit>(form, "Text2")->text(), QStringLiteral("32001"));
    EXPECT_EQ(form.focusWidget(), box);
    child<QRadioButton>(form, "Option1")->click();
    EXPECT_EQ(child<QLabel>(form, "Label2_15")->text(), QStringLiteral("16"));
}

TEST_F(Forms, CtrlTAddsTheFocusedRegisterRowToTheTrendedSet) {
    frmReg form(state, lib, store, nullptr, status());
    TrendSet trends;
    form.setTrendSink([&trends](const TrendItem& item) { trends.add(item); });
    prepare(form);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* box = child<QLineEdit>(form, "Text1_3");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(trends.series().size(), 1u);
    EXPECT_EQ(trends.series()[0].item.name, QStringLiteral("Register 4"));
    EXPECT_EQ(trends.series()[0].item.source, TrendSource::reg(4));
    EXPECT_EQ(box->text(), QStringLiteral("0"));  // the key typed nothing
}
