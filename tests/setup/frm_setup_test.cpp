// The real dialog under the offscreen platform: keys, Enter, leaving a field and clicks reach the
// rules, and what the rules decide is what the controls show.
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
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
    void type(const char* name, const QString& keys) { QTest::keyClicks(control(name), keys); }
    // The user tabs out of the field.
    void leave(const char* name) {
        QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(control(name), &left);
    }
};

TEST_F(FormTest, TypingEnterAndLeavingFieldsReachTheRules) {
    lib.setRegister(20000, 3);
    form.show();
    form.loadCurrentValues();
    EXPECT_FALSE(control("Text1")->isEnabled());
    QTest::keyClick(control<QComboBox>("Combo1"), Qt::Key_Home);  // ZelNET
    ASSERT_TRUE(control("Text1")->isEnabled());

    type("Text1", "0\r");
    EXPECT_EQ(control("Text1")->text(), "1");
    EXPECT_EQ(state.settings.HostNode, 1);
    EXPECT_TRUE(form.isVisible());  // Enter went to the field, not to a button
    type("Text1", "0");
    leave("Text1");
    EXPECT_EQ(control("Text1")->text(), "32767");
    control("Text4")->selectAll();
    type("Text4", "5");
    leave("Text4");
    EXPECT_EQ(state.settings.CommTimeout, 10);
    EXPECT_EQ(control("Text4")->text(), "5");

    control<QPushButton>("Frame1Caption")->click();
    EXPECT_EQ(control("txtAddress_12")->text(), "3");
    type("txtAddress_0", "10.");  // the dot moves on and is not typed
    type("txtAddress_1", "1.");
    type("txtAddress_2", "2");
    EXPECT_EQ(control("txtAddress_0")->text(), "10");
    EXPECT_EQ(control("txtAddress_1")->text(), "1");
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
