// The two forms draw what their models decide and hand their events to them.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "settings/first_run.h"
#include "windows/frm_custom.h"
#include "windows/frm_rtc.h"
#include "windows/frm_status.h"
#include "tests/status/packet_controller.h"
#include "settings/placement_store.h"
#include "settings/settings_sections.h"

using namespace zel;

namespace {

class Forms : public ::testing::Test {
protected:
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath("settings.conf")};
    FakeZelLibrary fake;
    AppState state;
    test::PacketController controller{32};
    QStringList messages;
    frmStatus::MessageSink sink = [this](const QString& text) { messages << text; };
    PollContext context{state, fake, [] {}};

    void SetUp() override {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.ModelCode = 5;
        state.connection.TaskCount = 32;
        state.connection.ConnectionCaption = " - TCP/IP 127.0.0.1";
        state.flags.NoCommunication = false;
        controller.answerPackets(fake);
    }
};

}  // namespace

TEST_F(Forms, StepStatusUpdatesItsTreeInPlaceAndSavesItsPlacement) {
    store.load(settings::firstRunSettings());
    frmStatus form(state, store, sink);
    form.open();
    EXPECT_TRUE(state.flags.windows.StatusFormOpen);
    EXPECT_EQ(form.windowTitle(), "Step Status - TCP/IP 127.0.0.1");
    auto* tree = form.findChild<QTreeWidget*>("TreeView1");
    controller.start(0, 1, 100);
    form.pollBlock().refresh(context);
    EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(), "Controller Running");
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_TRUE(root && root->childCount() == 1);
    QTreeWidgetItem* task1 = root->child(0);
    EXPECT_TRUE(root->isExpanded());

    root->setExpanded(false);
    controller.setStep(1, 101);
    controller.start(0, 2, 200);
    form.pollBlock().refresh(context);
    EXPECT_EQ(tree->topLevelItem(0), root);
    EXPECT_FALSE(root->isExpanded()) << "the user's collapse survives the tick";
    EXPECT_EQ(root->child(0), task1);
    EXPECT_EQ(task1->text(0), "Step #101");
    ASSERT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->child(1)->text(0), "Step #200");

    const auto stored = [this] {
        return settings::restorePlacement(store, settings::PlacementSection::Status).placement;
    };
    form.setGeometry(QRect(50, 60, 500, 400));
    form.close();
    form.close();
    EXPECT_FALSE(state.flags.windows.StatusFormOpen);
    EXPECT_EQ(messages, QStringList{"Status Form unloaded."}) << "a closed window unloads once";
    EXPECT_EQ(stored(), (settings::WindowPlacement{900, 750, 6000, 7500})) << "15 twips a pixel";
}

TEST_F(Forms, ClockOpensBesideTheMainWindowAndSyncsOnTheNextTick) {
    frmRTC form(state, nullptr, [] { return QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)); });
    form.open(QPoint(100, 50));
    EXPECT_TRUE(state.flags.windows.RtcFormOpen);
    EXPECT_EQ(form.pos(), clockWindowPosition(QPoint(100, 50), form.logicalDpiY()));

    form.findChild<QPushButton*>("cmdUpdate")->click();
    EXPECT_TRUE(fake.calls().isEmpty()) << "the click only asks the next tick";
    form.pollBlock().refresh(context);
    form.pollBlock().refresh(context);
    QStringList boxes;
    for (const char* name : {"txtHr", "txtMin", "txtSec", "txtMo", "txtDay", "txtYr", "txtDow"})
        boxes << form.findChild<QLineEdit*>(name)->text();
    EXPECT_EQ(boxes, (QStringList{"14", "5", "9", "3", "7", "26", "7"}));
    EXPECT_TRUE(form.findChild<QLabel*>("lblSysClock")->text().endsWith("14:05:09"));
    form.close();
    EXPECT_FALSE(state.flags.windows.RtcFormOpen);
}

// The custom screen hands kind choices, typed numbers and values to its model and draws it;
// without a definition file module its file commands are disabled and say so.
TEST_F(Forms, CustomScreenWiresItsControlsAndMenus) {
    store.load(settings::firstRunSettings());
    state.connection.Counts.setMain({64, 16, 16, 0, 4, 8, 4});
    frmCustom form(CustomScreen::Second, state, fake, store, nullptr, sink, nullptr);
    form.retitle(" - elsewhere");
    EXPECT_EQ(form.windowTitle(), "Custom Resource Form 2");
    form.open();
    EXPECT_TRUE(state.flags.windows.Custom2FormOpen);
    EXPECT_EQ(form.windowTitle(), "Custom Screen 2 - TCP/IP 127.0.0.1");
    auto* kind = form.findChild<QComboBox*>("Combo1_4");
    auto* number = form.findChild<QLineEdit*>("Text1_4");
    auto* label = form.findChild<QLabel*>("Label1_4");
    auto* value = form.findChild<QLineEdit*>("Text2_4");
    ASSERT_TRUE(kind && number && label && value);
    EXPECT_EQ(kind->count(), 13);
    EXPECT_TRUE(kind->isHidden());
    form.findChild<QAction*>("DisplayMenu_2")->trigger();
    EXPECT_FALSE(kind->isHidden());
    EXPECT_TRUE(label->isHidden());

    kind->activated(6);
    QTest::keyClicks(number, "12");
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(label->text(), "Register 12");
    QTest::keyClicks(value, "-7");
    QTest::keyClick(value, Qt::Key_Return);
    EXPECT_EQ(fake.calls().last(), "ZlPutRegister(7, 12, -7)");
    EXPECT_EQ(messages.last(), "Register #12 updated.");

    for (const char* name : {"Filemenu_2", "Filemenu_4", "Filemenu_5"}) {
        auto* item = form.findChild<QAction*>(name);
        EXPECT_FALSE(item->isEnabled()) << name;
        EXPECT_EQ(item->toolTip(), "Not available in this version of ZEL Monitor.") << name;
    }
    form.findChild<QAction*>("Filemenu_7")->trigger();
    EXPECT_FALSE(state.flags.windows.Custom2FormOpen);
    EXPECT_EQ(messages.last(), "Custom Resource Form unloaded.");
}
