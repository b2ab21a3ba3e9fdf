// The real main window under the offscreen platform: started as a user starts it, it connects
// to a running simulator and says so in its title and status line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include <qcustomplot.h>

#include "app/application.h"
#include "app/window_list.h"
#include "common/state_button.h"
#include "common/text_colours.h"
#include "tests/support/file_bytes.h"
#include "tests/support/settings_file.h"
#include "tests/support/sim_process.h"
#include "tests/support/widget_child.h"
#include "trends/trend_item.h"

using namespace zel;
using test::child;
using test::textOf;

namespace {

// Every text the status line shows, in order: each setting of it is followed by a repaint.
class ShownTexts : public QObject {
public:
    explicit ShownTexts(QLabel* message) : message_(message) { message->installEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == message_ && event->type() == QEvent::Paint &&
            (texts.isEmpty() || texts.last() != message_->text()))
            texts << message_->text();
        return false;
    }

private:
    QLabel* message_;
};

// Closes any modal box that opens, so a message nobody expected fails the test instead of
// hanging it; the texts are kept for the test to check.
class ModalWatch {
public:
    ModalWatch() {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->reject();
            }
        });
        timer_.start();
    }
    QStringList texts;

private:
    QTimer timer_;
};

// A dark desktop: light texts on dark windows, boxes and buttons.
QPalette darkPalette() {
    const QColor light(230, 230, 230);
    const QColor dark(45, 45, 45);
    const QColor darker(30, 30, 30);
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Window, dark);
    p.setColor(QPalette::AlternateBase, dark);
    p.setColor(QPalette::Base, darker);
    p.setColor(QPalette::ToolTipBase, darker);
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    for (const QPalette::ColorRole text :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        p.setColor(text, light);
    p.setColor(QPalette::PlaceholderText, QColor(160, 160, 160));
    return p;
}

// A text on screen, the colour it is drawn in and the colour behind it.
struct DrawnText {
    QString where;
    QString text;
    QColor ink;
    QColor paper;
};

// The texts a widget draws: its own in its foreground role over its background role (a state
// button's in its state's colour), an item view's cells in their own colours or Text over Base,
// and a plot's legend entries and axes.
QList<DrawnText> textsOf(QWidget* w) {
    QList<DrawnText> drawn;
    const QString where = w->window()->objectName() + u'/' + w->objectName();
    const QPalette& p = w->palette();
    const auto add = [&](const QString& text, const QColor& ink, const QColor& paper) {
        if (!text.trimmed().isEmpty()) drawn << DrawnText{where, text, ink, paper};
    };
    const auto own = [&](const QString& text) {
        add(text, p.color(w->foregroundRole()), p.color(w->backgroundRole()));
    };
    const auto besideBox = [&](const QString& text) {
        add(text, p.color(QPalette::WindowText), p.color(QPalette::Window));
    };
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        besideBox(static_cast<QAbstractButton*>(w)->text());
    } else if (auto* coloured = dynamic_cast<StateButton*>(w)) {
        add(coloured->text(), coloured->textColour(), p.color(w->backgroundRole()));
    } else if (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
               qobject_cast<QAbstractButton*>(w)) {
        own(w->property("text").toString());
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        besideBox(group->title());
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        own(combo->currentText());
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        add(plain->toPlainText(), p.color(QPalette::Text), p.color(QPalette::Base));
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w);
               view && view->model() && !qobject_cast<QHeaderView*>(w)) {
        const QAbstractItemModel& m = *view->model();
        for (int row = 0; row < std::min(m.rowCount(), 50); ++row) {
            for (int column = 0; column < m.columnCount(); ++column) {
                const QModelIndex at = m.index(row, column);
                const QVariant ink = m.data(at, Qt::ForegroundRole);
                const QVariant paper = m.data(at, Qt::BackgroundRole);
                add(m.data(at).toString(),
                    ink.isValid() ? ink.value<QBrush>().color() : p.color(QPalette::Text),
                    paper.isValid() ? paper.value<QBrush>().color() : p.color(QPalette::Base));
            }
        }
    } else if (auto* plot = qobject_cast<QCustomPlot*>(w)) {
        const QColor behind = plot->toPixmap().toImage().pixelColor(0, 0);
        for (int i = 0; i < plot->legend->itemCount(); ++i)
            if (auto* entry = qobject_cast<QCPPlottableLegendItem*>(plot->legend->item(i)))
                add(entry->plottable()->name(), entry->textColor(), plot->legend->brush().color());
        for (QCPAxis* axis : plot->axisRect()->axes())
            if (axis->visible() && axis->tickLabels())
                add(QStringLiteral("tick labels"), axis->tickLabelColor(), behind);
    }
    return drawn;
}

// Every text on screen that stands out from its background by less than 3:1, the least the
// web's accessibility guidelines allow. The colours are read from palettes, so a style sheet
// is reported as something the check cannot read. Controls that are switched off are exempt.
QStringList unreadableTexts() {
    QStringList found;
    if (!qApp->styleSheet().isEmpty()) found << QStringLiteral("the application has a style sheet");
    for (QWidget* w : QApplication::allWidgets()) {
        if (!w->isVisible() || !w->isEnabled()) continue;
        if (!w->styleSheet().isEmpty())
            found << w->objectName() + QStringLiteral(" has a style sheet");
        for (const DrawnText& t : textsOf(w)) {
            const double ratio = contrastRatio(t.ink, t.paper);
            if (ratio < 3.0)
                found << QStringLiteral("%1 \"%2\": %3 on %4, %5:1")
                             .arg(t.where, t.text, t.ink.name(), t.paper.name())
                             .arg(ratio, 0, 'f', 2);
        }
    }
    return found;
}

}  // namespace

TEST(TextColours, ContrastRatioRunsFromOneToTwentyOne) {
    EXPECT_DOUBLE_EQ(contrastRatio(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(Qt::white, Qt::black), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(QColor(53, 53, 53), QColor(53, 53, 53)), 1.0);
    EXPECT_NEAR(contrastRatio(QColor(0, 128, 0), Qt::white), 5.14, 0.01);
}

// A simulator, a settings profile pointing at it over TCP, and a command line for the monitor.
class MainWindow : public ::testing::Test {
protected:
    test::SimProcess sim{{"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0", "--udp", "0"}};
    QTemporaryDir dir;
    QString settings = dir.filePath(QStringLiteral("settings.ini"));
    CommandLine line;
    ModalWatch modal;
    std::unique_ptr<Application> monitor;

    void SetUp() override {
        ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
        ::setenv("ZELCOM_UDP_PORT", std::to_string(sim.udpPort()).c_str(), 1);
        ::setenv("ZELMON_ZELCOM_LIBRARY", ZELCOM_LIBRARY_FILE, 1);
        ASSERT_TRUE(test::setSettings(settings, QStringLiteral("Communications"),
                                      {{"COMM Port", 2}, {"IP Address", "127.0.0.1"}, {"Timeout", 500}}));
        line.settingsFile = settings;
        line.logFile = dir.filePath(QStringLiteral("zelmon.log"));
        // Only the test of the start-up file choice answers it.
        line.loadRememberedFiles = true;
    }
    void TearDown() override {
        stop();
        ::unsetenv("ZELCOM_TCP_PORT");
        ::unsetenv("ZELCOM_UDP_PORT");
        ::unsetenv("ZELMON_ZELCOM_LIBRARY");
    }

    // Starts the monitor as a user does, from `line`.
    frmMain& start() {
        stop();
        monitor = std::make_unique<Application>(line);
        monitor->start();
        return monitor->mainWindow();
    }
    // Closes the main window, as a user's exit does, and ends the monitor.
    void stop() {
        if (monitor) monitor->mainWindow().close();
        monitor.reset();
    }
    // Clicks the main window's button or triggers its menu entry of that name.
    static void open(frmMain& main, const char* control) {
        if (auto* button = main.findChild<QPushButton*>(QLatin1String(control)))
            button->click();
        else if (auto* action = main.findChild<QAction*>(QLatin1String(control)))
            action->trigger();
        else
            ADD_FAILURE() << "no control " << control;
    }
    // Opens every window the main window offers and the windows those open in turn. The setup
    // dialog stops the polling tick while it is open, so it opens last, once `ready` holds;
    // monitoring is then suspended, so no tick changes what they show.
    static void openEveryWindow(frmMain& main, const std::function<bool()>& ready = [] { return true; }) {
        for (const WindowEntry& entry : windowList())
            if (entry.opener != Opener::OtherWindow && entry.id != WindowId::Setup)
                open(main, entry.control);
        child<QAction>(*child<QWidget>(main, "frmTable"), "mnuOptionsSetup")->trigger();
        child<QPushButton>(*child<QWidget>(main, "frmReg"), "Command1")->click();
        EXPECT_TRUE(QTest::qWaitFor(ready, 60'000));
        open(main, windowEntry(WindowId::Setup).control);
        open(main, "SuspendButton");
    }
    static QList<QWidget*> shownWindows() {
        QList<QWidget*> shown;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) shown << w;
        return shown;
    }
    // Lets the timers run until the status line reads `text`, for at most a minute.
    static bool waitForMessage(QLabel* message, const QString& text) {
        return QTest::qWaitFor([&] { return message->text() == text; }, 60'000);
    }
};

// With the demo symbol file the resource windows name their rows after it.
TEST_F(MainWindow, StartsConnectedToTheSimulatorAndNamesItInTitleAndStatusLine) {
    line.files = {QStringLiteral(ZELSIM_DEMO_SYMBOLS)};
    frmMain& main = start();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("ZEL Monitor V3.6 - TCP/IP 127.0.0.1"));
    auto* message = main.findChild<QLabel*>(QStringLiteral("Message"));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text(), QStringLiteral("Connected to TCP/IP 127.0.0.1"));

    child<QPushButton>(main, "RegisterButton")->click();
    auto* frmReg = main.findChild<QWidget*>(QStringLiteral("frmReg"));
    ASSERT_TRUE(frmReg && frmReg->isVisible());
    EXPECT_EQ(frmReg->windowTitle(), QStringLiteral("Registers - TCP/IP 127.0.0.1"));
    EXPECT_EQ(message->text(), QStringLiteral("Register Form loaded."));
    EXPECT_EQ(textOf(*frmReg, "Label1_0"), "Cycle_count");
    child<QPushButton>(main, "ServoButton")->click();
    auto* servos = main.findChild<QWidget*>(QStringLiteral("frmServo"));
    ASSERT_TRUE(servos);
    // The servo window names its rows in Label4; Label1 holds the number.
    EXPECT_EQ(textOf(*servos, "Label4_0"), "X_axis");
    // The demo controller has four servos: no window for servos 17-32.
    EXPECT_FALSE(main.findChild<QWidget*>(QStringLiteral("frmServo2")));
    main.close();
    EXPECT_FALSE(frmReg->isVisible());
    stop();
    EXPECT_TRUE(modal.texts.isEmpty()) << modal.texts.join('|').toStdString();
    EXPECT_TRUE(test::readBytes(settings).contains("COMM Port=2"));
    // Never moved, the main window keeps the placement it read, though whole pixels cannot
    // hold it: 1008 twips are 67.2 pixels.
    EXPECT_EQ(test::settingsValues(settings, QStringLiteral("Main"), {"Top", "Left", "Height", "Width"}),
              QStringList({"1008", "2036", "8000", "11000"}));
}

// A folder is no symbol file either.
TEST_F(MainWindow, AMissingSymbolFileIsNamedAndTheMonitorStartsWithoutOne) {
    const QString folder = dir.filePath(QStringLiteral("folder.SYM"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& name : {dir.filePath(QStringLiteral("gone.SYM")), folder}) {
        line.files = {name};
        modal.texts.clear();
        start();
        EXPECT_TRUE(monitor->state().files.SymbolFileName.isEmpty());
        stop();
        EXPECT_EQ(modal.texts, QStringList{QStringLiteral("Cannot find ") + name});
    }
}

// Files named on the command line open by their extension in any case: a definition file in
// the first custom screen, a table file in the data table over the controller's table (10 by 8
// in the demo); any other file is refused in the status line and the monitor runs on.
TEST_F(MainWindow, CommandLineFilesOpenByTheirExtension) {
    const QString table = dir.filePath(QStringLiteral("line.TAB"));
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    for (const QString& name : {table, notes})
        ASSERT_TRUE(test::writeBytes(name, "data_table[2][3] =\n{\n 1 2 3\n 65535 0 40\n}\n"));
    struct Case {
        QString file;
        const char* window;  // shown, with `field` reading `text`; none for a refused file
        const char* field;
        QString text;
    };
    const Case cases[] = {
        {QStringLiteral(ZELSIM_DEMO_SCREEN), "frmCustom1", "Label1_0", QStringLiteral("Auto_mode")},
        {table, "frmTable", "txtRows", QStringLiteral("2")},
        {notes, nullptr, "Message",
         QStringLiteral("Cannot open %1: ZEL Monitor opens symbol files (.SYM), custom screen "
                        "files (.CFG) and data table files (.tab).").arg(notes)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        line.files = {c.file};
        frmMain& main = start();
        QWidget* shown = &main;
        if (c.window) {
            shown = main.findChild<QWidget*>(QLatin1String(c.window));
            ASSERT_TRUE(shown && shown->isVisible());
        } else {
            EXPECT_FALSE(main.findChild<QWidget*>(QStringLiteral("frmCustom1")));
            EXPECT_FALSE(main.findChild<QWidget*>(QStringLiteral("frmTable")));
        }
        QObject* field = shown->findChild<QObject*>(QLatin1String(c.field));
        ASSERT_TRUE(field);
        EXPECT_EQ(field->property("text").toString(), c.text);
        main.close();
    }
    EXPECT_TRUE(modal.texts.isEmpty()) << modal.texts.join('|').toStdString();
}

TEST_F(MainWindow, ChangingTheConnectionInTheSetupDialogRemakesTheLink) {
    frmMain& main = start();
    auto* message = main.findChild<QLabel*>(QStringLiteral("Message"));
    ASSERT_EQ(message->text(), QStringLiteral("Connected to TCP/IP 127.0.0.1"));

    for (QAction* a : main.findChildren<QAction*>())
        if (a->text() == QStringLiteral("Change &Configuration")) a->trigger();
    auto* setup = main.findChild<QDialog*>(QStringLiteral("frmSetup"));
    ASSERT_TRUE(setup && setup->isVisible());
    EXPECT_TRUE(monitor->state().flags.SetupOpen);
    auto* kind = setup->findChild<QComboBox*>(QStringLiteral("Combo1"));
    kind->setCurrentIndex(1);
    emit kind->activated(1);  // ZelUDP, as a user's choice
    child<QPushButton>(*setup, "ExitButton")->click();

    EXPECT_TRUE(waitForMessage(message, QStringLiteral("Connected to UDP 127.0.0.1")))
        << message->text().toStdString();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("ZEL Monitor V3.6 - UDP 127.0.0.1"));
    EXPECT_FALSE(monitor->state().flags.SetupOpen);
}

// A controller with more than sixteen servos gets the second servo window as well, titled like
// the first; opening the servos again reuses both.
TEST_F(MainWindow, TwentyServosOpenTheSecondServoWindow) {
    QByteArray scenario = test::readBytes(QStringLiteral(ZELSIM_DEMO_SCENARIO));
    ASSERT_TRUE(scenario.contains("\"servos\": 4,"));
    const QString twenty = dir.filePath(QStringLiteral("twenty.json"));
    ASSERT_TRUE(test::writeBytes(twenty, scenario.replace("\"servos\": 4,", "\"servos\": 20,")));
    test::SimProcess big({"--scenario", twenty.toStdString(), "--tcp", "0"});
    ::setenv("ZELCOM_TCP_PORT", std::to_string(big.tcpPort()).c_str(), 1);

    frmMain& main = start();
    ASSERT_EQ(monitor->state().connection.Counts.ServoCount(), 20);
    auto* button = main.findChild<QPushButton*>(QStringLiteral("ServoButton"));
    button->click();
    auto* second = main.findChild<QWidget*>(QStringLiteral("frmServo2"));
    ASSERT_TRUE(second && second->isVisible());
    EXPECT_EQ(second->windowTitle(), QStringLiteral("Motors/Servos 17-32 - TCP/IP 127.0.0.1"));
    second->close();
    button->click();
    EXPECT_EQ(main.findChildren<QWidget*>(QStringLiteral("frmServo2")).size(), 1);
    EXPECT_TRUE(second->isVisible());
    stop();  // before its simulator ends
}

// One run through the windows opened by the main window's buttons and menus:
// - the hidden DDE window shows from start-up what the load and the first connection told it:
//   the exchange's state, the connection's text and caption, and the link for other programs;
// - "View Bits" opens the one Register bits window on the range of the window it was pressed in;
// - the data table window reads the controller's table as it opens, and Monitor Setup opens
//   over the same table;
// - the configuration menu's last entry opens the firmware update window, its module list ready;
// - the File menu's program transfer window opens beside the main window, hidden by Exit and
//   shown again by the same entry with its status line cleared.
TEST_F(MainWindow, EachWindowOpensFromItsControlOnWhatItShows) {
    ASSERT_TRUE(test::setSettings(settings, QStringLiteral("DDE Setup"), {{"Update", 250}}));
    frmMain& main = start();
    const auto shown = [&main](const char* name) {
        auto* window = child<QWidget>(main, name);
        EXPECT_TRUE(window && window->isVisible()) << name;
        return window;
    };
    {
        SCOPED_TRACE("the hidden DDE window");
        auto* dde = child<QWidget>(main, "frmDDE");
        ASSERT_TRUE(dde);
        EXPECT_FALSE(dde->isVisible());
        EXPECT_EQ(dde->windowTitle(), QStringLiteral("DDE Screen - TCP/IP 127.0.0.1"));
        EXPECT_EQ(textOf(*dde, "Message"), QStringLiteral("Connected to TCP/IP 127.0.0.1"));
        EXPECT_TRUE(textOf(*dde, "lblLink").startsWith(QStringLiteral("D-Bus link")))
            << textOf(*dde, "lblLink").toStdString();
        EXPECT_EQ(textOf(*dde, "DdeInterval"), QStringLiteral("250"));
        EXPECT_EQ(child<QAbstractSlider>(*dde, "HScroll1")->value(), 250);
        EXPECT_EQ(textOf(*dde, "RegAddress"), QStringLiteral("1"));
        EXPECT_EQ(textOf(*dde, "Command3d1"), QStringLiteral("Start DDE"));
    }
    {
        SCOPED_TRACE("View Bits");
        const auto viewBits = [&](const char* button, const char* form) {
            child<QPushButton>(main, button)->click();
            child<QPushButton>(*shown(form), "Command1")->click();
            return shown("frmRegBits");
        };
        QWidget* bits = viewBits("NVRamButton", "frmRam");
        ASSERT_TRUE(bits);
        EXPECT_TRUE(child<QRadioButton>(*bits, "Option2")->isChecked());
        EXPECT_EQ(textOf(*bits, "Label2_0"), "32001");
        EXPECT_TRUE(monitor->state().flags.windows.RegbitsFormOpen);
        EXPECT_EQ(viewBits("RegisterButton", "frmReg"), bits);
        EXPECT_TRUE(child<QRadioButton>(*bits, "Option1")->isChecked());
        EXPECT_EQ(textOf(*bits, "Label2_1"), "2");
    }
    {
        SCOPED_TRACE("the data table");
        child<QPushButton>(main, "TableButton")->click();
        QWidget* table = shown("frmTable");
        ASSERT_TRUE(table);
        EXPECT_EQ(table->windowTitle(), QStringLiteral("Data Table - TCP/IP 127.0.0.1"));
        EXPECT_EQ(textOf(*table, "txtRows"), "10");
        EXPECT_EQ(textOf(*table, "txtCols"), "8");
        QAbstractItemModel* grid = child<QTableView>(*table, "tgDTable")->model();
        ASSERT_EQ(grid->rowCount(), 10);
        ASSERT_EQ(grid->columnCount(), 10);  // Row #, eight columns, Message
        EXPECT_EQ(grid->data(grid->index(0, 2)).toString(), QStringLiteral("10"));
        EXPECT_EQ(grid->headerData(9, Qt::Horizontal).toString(), QStringLiteral("Message"));
        child<QAction>(*table, "mnuOptionsSetup")->trigger();
        EXPECT_EQ(textOf(*shown("frmTableMon"), "txtMonEndRow"), "10");
    }
    {
        SCOPED_TRACE("firmware update");
        auto* entry = child<QAction>(main, "mnuFirmware");
        ASSERT_TRUE(entry && entry->isEnabled());
        entry->trigger();
        QWidget* flash = shown("frmProgFlash");
        ASSERT_TRUE(flash);
        EXPECT_TRUE(flash->windowTitle().startsWith(QStringLiteral("Update Firmware")));
        auto* modules = child<QComboBox>(*flash, "Combo1");
        ASSERT_TRUE(modules);
        EXPECT_EQ(modules->count(), 3);
        EXPECT_EQ(modules->currentText(), QStringLiteral("4815K/KP/KPZ CPU"));
        EXPECT_EQ(textOf(*flash, "lblModule"), "Select Module to Update");
        EXPECT_FALSE(child<QWidget>(*flash, "ProgressBar1")->isVisible());
    }
    {
        SCOPED_TRACE("program transfer");
        auto* entry = child<QAction>(main, "mnuProgramTransfer");
        ASSERT_TRUE(entry && entry->isEnabled());
        entry->trigger();
        QWidget* transfer = shown("frmLoadMain");
        ASSERT_TRUE(transfer);
        EXPECT_EQ(transfer->windowTitle(), QStringLiteral("Program Transfer Utility"));
        EXPECT_GT(transfer->pos().x(), main.pos().x());
        EXPECT_EQ(monitor->state().settings.BaudRate, 9600);
        auto* status = child<QLabel>(*transfer, "Label2");
        status->setText(QStringLiteral("Download Complete!"));
        child<QPushButton>(*transfer, "ExitButton")->click();
        EXPECT_FALSE(transfer->isVisible());
        entry->trigger();
        EXPECT_TRUE(transfer->isVisible());
        EXPECT_EQ(status->text(), QString());
    }
    auto* table = child<QWidget>(main, "frmTable");
    main.close();
    EXPECT_FALSE(monitor->state().flags.windows.RegbitsFormOpen);
    EXPECT_FALSE(table->isVisible());
    EXPECT_TRUE(modal.texts.isEmpty()) << modal.texts.join('|').toStdString();
}

// An exchange the settings say was running runs again from start-up, its window still hidden.
// A client's command then opens the window; typing an address pauses the exchange until Enter,
// the tick then reads it, and a write from the Flags window empties the flag write box.
TEST_F(MainWindow, TheSavedDdeExchangeRunsHiddenAndItsWindowOpensByCommand) {
    ASSERT_TRUE(test::setSettings(settings, QStringLiteral("DDE Setup"),
                                  {{"Flag", 1}, {"Register Address", 2}}));
    frmMain& main = start();
    auto* dde = child<QWidget>(main, "frmDDE");
    ASSERT_TRUE(dde);
    auto* read = child<QLabel>(*dde, "RegRead");
    const auto reads = [read](const char* value) {
        return QTest::qWaitFor([&] { return read->text() == QLatin1String(value); }, 60'000);
    };
    EXPECT_TRUE(reads("1234")) << read->text().toStdString();
    EXPECT_FALSE(dde->isVisible());

    EXPECT_FALSE(main.executeCommand(QStringLiteral("DDE")));
    EXPECT_TRUE(main.executeCommand(QStringLiteral("ddeSetup")));
    ASSERT_TRUE(dde->isVisible());
    EXPECT_EQ(dde->windowTitle(), QStringLiteral("DDE Screen 1 - 127.0.0.1"));
    auto* address = child<QLineEdit>(*dde, "RegAddress");
    QTest::keyClicks(address, QStringLiteral("3"));
    EXPECT_FALSE(monitor->state().flags.DdeActive);
    EXPECT_EQ(address->text(), QStringLiteral("3"));
    QTest::keyClick(address, Qt::Key_Return);
    EXPECT_TRUE(monitor->state().flags.DdeActive);
    EXPECT_EQ(monitor->state().dde.DdeRegAddress, 3);
    EXPECT_TRUE(reads("-5")) << read->text().toStdString();

    auto* flagWrite = dde->findChild<QLineEdit*>(QStringLiteral("FlagWrite"));
    QTest::keyClicks(flagWrite, QStringLiteral("1"));
    EXPECT_TRUE(main.executeCommand(QStringLiteral("flags")));
    auto* flags = main.findChild<QWidget*>(QStringLiteral("frmFlag"));
    ASSERT_TRUE(flags && flags->isVisible());
    child<QPushButton>(*flags, "SSCommand1_0")->click();
    EXPECT_EQ(flagWrite->text(), QString());
}

// Each main window command of a client clicks its own button or menu entry; one whose control
// is disabled is refused and clicks nothing.
TEST_F(MainWindow, EachCommandClicksItsControlAndADisabledOneIsRefused) {
    const struct {
        const char* command;
        const char* control;
    } cases[] = {
        {"REGISTERS", "RegisterButton"}, {"INPUTS", "InputButton"},
        {"ANALOG INS", "AinButton"}, {"FLAGS", "FlagButton"},
        {"OUTPUTS", "OutputButton"}, {"ANALOG OUTS", "AoutButton"},
        {"SERVOS", "ServoButton"}, {"CUSTOM 1", "Cust1Button"},
        {"CUSTOM 2", "Cust2Button"}, {"PROGRAM STATUS", "StatButton"},
        {"DATA TABLE", "TableButton"}, {"NVRAM MODULE", "NVRamButton"},
        {"START", "StartButton"}, {"STOP", "StopButton"},
        {"RESET", "ResetButton"}, {"DDESETUP", "mnuDdeSetup"},
    };
    frmMain& main = start();
    const auto spyOn = [&main](const char* control) {
        QObject* found = main.findChild<QObject*>(QLatin1String(control));
        return std::make_unique<QSignalSpy>(
            found, qobject_cast<QAction*>(found) ? SIGNAL(triggered(bool)) : SIGNAL(clicked(bool)));
    };
    for (const auto& c : cases) {
        const auto clicked = spyOn(c.control);
        ASSERT_TRUE(clicked->isValid()) << c.control;
        EXPECT_TRUE(main.executeCommand(QLatin1String(c.command))) << c.command;
        EXPECT_EQ(clicked->count(), 1) << c.command;
    }
    main.enableRunButtons(false);
    const auto stop = spyOn("StopButton");
    EXPECT_FALSE(main.executeCommand(QStringLiteral("stop")));
    EXPECT_EQ(stop->count(), 0);
}

// frmFiles at start-up: Okay with the data table's box cleared forgets that name alone, Cancel
// forgets them all; either way the settings file holds the choice before the monitor ends.
// Escape loads nothing this run and forgets nothing, then or at exit.
TEST_F(MainWindow, TheStartupFileChoiceForgetsWhatTheUserClears) {
    struct Case {
        const char* button;  // none for Escape
        bool clearDataTable;
        const char* customScreen;  // what remains remembered
        const char* dataTable;
        bool inUse;  // whether this run uses what remains remembered
    };
    const Case cases[] = {
        {"SSCommand1", true, ZELSIM_DEMO_SCREEN, "", true},
        {"SSCommand2", false, "", "", true},
        {nullptr, false, ZELSIM_DEMO_SCREEN, "/plant/line.tab", false},
    };
    const QString files = QStringLiteral("Files");
    const QStringList names{"Custom Screen 1", "Data Table"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button ? c.button : "Escape");
        ASSERT_TRUE(test::setSettings(settings, files,
                                      {{names[0], ZELSIM_DEMO_SCREEN}, {names[1], "/plant/line.tab"}}));
        line.loadRememberedFiles = false;
        QStringList offered;
        QTimer answer;
        answer.setInterval(20);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QStringLiteral("frmFiles")) return;
            for (auto* box : dialog->findChildren<QCheckBox*>())
                offered << box->objectName() + u'=' + (box->isChecked() ? u'1' : u'0');
            if (c.clearDataTable) child<QCheckBox>(*dialog, "SSCheck4")->setChecked(false);
            if (c.button)
                dialog->findChild<QPushButton*>(QString::fromLatin1(c.button))->click();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        answer.start();
        const QStringList kept{QString::fromLatin1(c.customScreen),
                               QString::fromLatin1(c.dataTable)};
        start();
        answer.stop();
        EXPECT_EQ(offered,
                  (QStringList{"SSCheck1=1", "SSCheck2=0", "SSCheck3=0", "SSCheck4=1"}));
        EXPECT_EQ(QStringList({monitor->state().files.CustomScreen1File,
                               monitor->state().files.DataTableFile}),
                  c.inUse ? kept : QStringList({"", ""}));
        EXPECT_EQ(test::settingsValues(settings, files, names), kept);
        stop();
        EXPECT_EQ(test::settingsValues(settings, files, names), kept);
    }
}

// The trend and traffic windows, moved and closed, open again where they were left, and still
// do after a restart.
TEST_F(MainWindow, TrendAndTrafficWindowsOpenAgainWhereTheyWereLeft) {
    const struct {
        const char* entry;
        const char* window;
        QRect movedTo;
    } cases[] = {
        {"mnuShowTrend", "frmTrend", QRect(40, 50, 700, 450)},
        {"mnuTraffic", "frmTraffic", QRect(70, 80, 720, 380)},
    };
    for (const bool restarted : {false, true}) {
        frmMain& main = start();
        for (const auto& c : cases) {
            SCOPED_TRACE(restarted ? "after a restart" : "in one run");
            SCOPED_TRACE(c.window);
            auto* entry = main.findChild<QAction*>(QLatin1String(c.entry));
            ASSERT_TRUE(entry);
            entry->trigger();
            auto* window = main.findChild<QWidget*>(QLatin1String(c.window));
            ASSERT_TRUE(window && window->isVisible());
            if (!restarted) {
                EXPECT_NE(window->geometry(), c.movedTo);
                window->setGeometry(c.movedTo);
                window->close();
                entry->trigger();
            }
            EXPECT_EQ(window->geometry(), c.movedTo);
        }
        main.close();
    }
    EXPECT_TRUE(modal.texts.isEmpty()) << modal.texts.join(QLatin1Char('\n')).toStdString();
}

// A serial line where nothing answers: the monitor keeps trying, and every failed attempt
// shows its own cause, never the error of a call on a handle that another attempt, started by
// a timer while this one let events run, had closed.
TEST_F(MainWindow, EachFailedAttemptOnASilentLineShowsItsOwnCause) {
    test::SimProcess silent({"--scenario", ZELSIM_DEMO_SCENARIO, "--pty"});
    silent.pause();
    ::setenv("ZELCOM_COMM1", silent.ptyPath().c_str(), 1);
    ASSERT_TRUE(test::setSettings(settings, QStringLiteral("Communications"),
                                  {{"COMM Port", 3}, {"IP Address", ""}, {"Timeout", 250}}));
    QStringList failures;
    start();
    auto* message = monitor->mainWindow().findChild<QLabel*>(QStringLiteral("Message"));
    ASSERT_TRUE(message);
    const ShownTexts shown(message);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return shown.texts.filter(QStringLiteral("Failed to make connection")).size() >= 6; },
        120'000));
    failures = shown.texts.filter(QStringLiteral("Failed to make connection"));
    stop();
    ::unsetenv("ZELCOM_COMM1");
    for (const QString& text : failures)
        EXPECT_TRUE(text.contains(QStringLiteral("-  No reply from controller"))) << text.toStdString();
}

namespace {

// The parts of a scrolled view, worked through the view; its scroll bars follow its focus.
bool insideScrolledView(const QWidget* w) {
    for (const QWidget* up = w->parentWidget(); up && !up->isWindow(); up = up->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(up)) return true;
    return false;
}

// What a user could have changed in a window: the texts, choices, ticks and positions of its
// controls, by object name.
QStringList controlValues(const QWidget* window) {
    QStringList values;
    for (const QWidget* o : window->findChildren<QWidget*>()) {
        if (o->window() != window || insideScrolledView(o)) continue;
        QString value;
        if (auto* box = qobject_cast<const QLineEdit*>(o))
            value = box->text();
        else if (auto* combo = qobject_cast<const QComboBox*>(o))
            value = combo->currentText();
        else if (auto* button = qobject_cast<const QAbstractButton*>(o))
            value = button->isChecked() ? QStringLiteral("checked") : QStringLiteral("clear");
        else if (auto* slider = qobject_cast<const QAbstractSlider*>(o))
            value = QString::number(slider->value());
        else
            continue;
        values << o->objectName() + u':' + QLatin1String(o->metaObject()->className()) + u'=' + value;
    }
    return values;
}

// The controls a keyboard user must be able to reach by Tab: a toolbar's buttons repeat menu
// entries and the arrow keys move between the buttons of a group of options.
bool takesInput(const QWidget* w) {
    if (!w->isVisible() || !w->isEnabled() || qobject_cast<const QToolButton*>(w) ||
        insideScrolledView(w))
        return false;
    if (auto* option = qobject_cast<const QRadioButton*>(w)) return option->isChecked();
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractItemView*>(w);
}

// True when `b` comes after `a` reading top to bottom, left to right, in their window.
bool readsAfter(const QWidget* a, const QWidget* b) {
    const QPoint p = a->mapTo(a->window(), QPoint(0, 0));
    const QPoint q = b->mapTo(b->window(), QPoint(0, 0));
    if (q.y() > p.y() + a->height() / 2) return true;
    return q.y() > p.y() - a->height() / 2 && q.x() > p.x();
}

}  // namespace

// Tab and Shift+Tab round every window, its boxes filled, change nothing, now or in the
// settings saved at exit; the focus reaches every control that takes input, meeting those of
// each group in reading order (a scroll bar stands beside what it scrolls, so it is left out);
// every menu entry has a mnemonic of its own.
TEST_F(MainWindow, EveryWindowIsWorkedByTheKeyboardAndChangesNothing) {
    const QString dde = QStringLiteral("DDE Setup");
    ASSERT_TRUE(test::setSettings(
        settings, dde, {{"Flag Address", 5}, {"Register Address", 7}, {"Block 50 Address", 100}}));
    line.files = {QStringLiteral(ZELSIM_DEMO_SCREEN)};
    frmMain& main = start();
    openEveryWindow(main);
    for (QWidget* window : shownWindows()) {
        SCOPED_TRACE(window->objectName().toStdString());
        const QStringList before = controlValues(window);
        ASSERT_TRUE(QTest::qWaitFor([window] {
            window->activateWindow();
            return QApplication::activeWindow() == window;
        }));
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            QList<QWidget*> visited;
            QWidget* first = window->nextInFocusChain();
            while (first != window && !(takesInput(first) && first->focusPolicy() & Qt::TabFocus))
                first = first->nextInFocusChain();
            first->setFocus(Qt::TabFocusReason);
            ASSERT_EQ(QApplication::focusWidget(), first);
            for (int press = 0; press < 1200; ++press) {
                QTest::keyClick(QApplication::focusWidget(), key);
                QWidget* now = QApplication::focusWidget();
                ASSERT_TRUE(now && now->window() == window)
                    << "focus left for " << (now ? now->objectName().toStdString() : "none")
                    << " after " << (visited.isEmpty() ? std::string("the start")
                                     : visited.last()->objectName().toStdString());
                if (visited.isEmpty() || visited.last() != now) visited << now;
                if (now == first) break;
            }
            QStringList changed;
            for (const QString& value : controlValues(window))
                if (!before.contains(value)) changed << value;
            EXPECT_EQ(changed.join(u' ').toStdString(), "");
            if (key != Qt::Key_Tab) continue;
            QStringList missed;
            for (QWidget* control : window->findChildren<QWidget*>())
                if (control->window() == window && takesInput(control) &&
                    !visited.contains(control))
                    missed << control->objectName() + u':' +
                                  QLatin1String(control->metaObject()->className());
            EXPECT_EQ(missed.join(u' ').toStdString(), "") << "never reached";
            visited.removeLast();  // back at the first
            const QWidget* last = nullptr;
            for (const QWidget* stop : visited) {
                if (qobject_cast<const QAbstractSlider*>(stop)) continue;
                if (last && last->parentWidget() == stop->parentWidget() &&
                    !readsAfter(last, stop))
                    ADD_FAILURE() << stop->objectName().toStdString() << " after "
                                  << last->objectName().toStdString();
                last = stop;
            }
        }
    }
    // Within each menu bar, menu and context menu of every window, every entry has a mnemonic
    // and no two share one, so each is reached by its key.
    QSet<QString> checked;
    auto check = [&checked](QWidget* menu, const QString& where) {
        QList<QWidget*> pending{menu};
        while (!pending.isEmpty()) {
            QWidget* m = pending.takeFirst();
            QMap<QKeySequence, QString> taken;
            QStringList texts;
            for (QAction* entry : m->actions()) {
                if (entry->isSeparator()) continue;
                texts << entry->text();
                const QKeySequence key = QKeySequence::mnemonic(entry->text());
                EXPECT_FALSE(key.isEmpty()) << where.toStdString() << ": "
                                            << entry->text().toStdString() << " has no mnemonic";
                if (!key.isEmpty() && taken.contains(key))
                    ADD_FAILURE() << where.toStdString() << ": " << entry->text().toStdString()
                                  << " shares its mnemonic with " << taken.value(key).toStdString();
                taken.insert(key, entry->text());
                if (entry->menu()) pending << entry->menu();
            }
            checked << texts.join(u'|');
        }
    };
    for (QWidget* window : shownWindows()) {
        for (QMenuBar* bar : window->findChildren<QMenuBar*>()) check(bar, window->objectName());
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (control->window() != window ||
                control->contextMenuPolicy() != Qt::CustomContextMenu)
                continue;
            emit control->customContextMenuRequested(QPoint(1, 1));
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(popup) << control->objectName().toStdString();
            check(popup, window->objectName() + u'/' + control->objectName());
            popup->close();
        }
    }
    // The main window's bar and four menus, two windows' Display bars and menus, the custom
    // screens' and the data table's, and the context menus of labels and of text boxes.
    EXPECT_GE(checked.size(), 15) << checked.values().join(u'\n').toStdString();
    stop();
    EXPECT_EQ(test::settingsValues(settings, dde,
                                   {"Flag", "Flag Address", "Register Address", "Block 50 Address"}),
              QStringList({"0", "5", "7", "100"}));
}

// Under a dark desktop palette every window, the main window and each child window, draws each
// of its texts readably: digital rows in their states' colours, rows back in plain text after
// their window opens again, and the trend window's legend and axes.
TEST_F(MainWindow, EveryWindowReadsOnADarkDesktop) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(darkPalette());
    line.files = {QStringLiteral(ZELSIM_DEMO_SYMBOLS)};
    frmMain& main = start();
    monitor->model().trends().add({QStringLiteral("Batch_size"), TrendSource::reg(2)});
    // Register 2 is read after the digital windows' rows in the tick.
    openEveryWindow(main, [&main] {
        return child<QLineEdit>(*child<QWidget>(main, "frmReg"), "Text1_1")->text() ==
               QStringLiteral("1234");
    });
    EXPECT_EQ(unreadableTexts().join(u'\n').toStdString(), "");

    for (const char* form : {"frmDigIn", "frmDigOut"})
        main.findChild<QWidget*>(QLatin1String(form))->close();
    open(main, "SuspendButton");  // resumes, or the windows would ask to open
    open(main, "InputButton");
    open(main, "OutputButton");
    EXPECT_EQ(unreadableTexts().join(u'\n').toStdString(), "");
    stop();
    QApplication::setPalette(before);
    EXPECT_TRUE(modal.texts.isEmpty()) << modal.texts.join('|').toStdString();
}
