// The real dialog under the offscreen platform: keys, Enter, focus changes and clicks reach the
// rules, and what the rules decide is what the controls show.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "setup/frm_setup.h"
#include "setup_fixture.h"

namespace zel::test {
namespace {

class FormTest : public SetupTest {
protected:
    frmSetup form{state, lib, host};

    template <typename T = QLineEdit>
    T* control(const char* name) {
        T* widget = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Each key goes to whichever control has the focus at that moment.
    void typeIntoFocus(const QString& keys) {
        for (QChar key : keys) QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }
    void focus(const char* name) { control(name)->setFocus(Qt::TabFocusReason); }
};

TEST_F(FormTest, TypingEnterAndLeavingFieldsReachTheRules) {
    lib.setRegister(20000, 3);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.loadCurrentValues();
    EXPECT_FALSE(control("Text1")->isEnabled());
    QTest::keyClick(control<QComboBox>("Combo1"), Qt::Key_Home);  // ZelNET
    ASSERT_TRUE(control("Text1")->isEnabled());

    focus("Text1");
    typeIntoFocus("0\r");
    EXPECT_EQ(control("Text1")->text(), "1");
    EXPECT_EQ(state.settings.HostNode, 1);
    EXPECT_TRUE(form.isVisible());  // Enter went to the field, not to a button
    typeIntoFocus("0");
    focus("Text4");
    EXPECT_EQ(control("Text1")->text(), "32767");
    control("Text4")->selectAll();
    typeIntoFocus("5");
    focus("Text2");
    EXPECT_EQ(state.settings.CommTimeout, 10);
    EXPECT_EQ(control("Text4")->text(), "5");

    control<QPushButton>("Frame1Caption")->click();
    EXPECT_EQ(control("txtAddress_12")->text(), "3");
    EXPECT_EQ(QApplication::focusWidget(), control("txtAddress_0"));
    typeIntoFocus("10.1.2.3");
    EXPECT_EQ(control("txtAddress_2")->text(), "2");
    QTest::mouseClick(control("txtAddress_2"), Qt::LeftButton);
    EXPECT_EQ(control("txtAddress_2")->text(), "");

    control<QPushButton>("ExitButton")->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(state.flags.SetupOpen);
    EXPECT_TRUE(logged("message: Establishing Connection"));
}

TEST_F(FormTest, InputButtonShowsTheModelAndTheCloseBoxUnloads) {
    state.connection.ModelCode = 5;
    state.connection.EATypeController = true;
    state.connection.InputConfigBits = 1;
    form.show();
    form.loadCurrentValues();
    auto* start = control<QPushButton>("Command3d1_0");
    EXPECT_EQ(start->text(), "Active");
    start->click();
    EXPECT_EQ(start->text(), "Idle");
    form.close();
    EXPECT_TRUE(logged("timer2"));
    EXPECT_FALSE(form.model().isLoaded());
}

}  // namespace
}  // namespace zel::test
