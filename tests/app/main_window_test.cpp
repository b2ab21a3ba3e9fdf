// The real main window under the offscreen platform: started as a user starts it, it connects
// to a running simulator and says so in its title and status line.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "app/application.h"
#include "settings/first_run.h"
#include "settings/settings_sections.h"
#include "tests/support/sim_process.h"

using namespace zel;

namespace {

// A settings file as a first run leaves it, then pointed at the given connection.
void writeSettings(const QString& path, int commType, const QString& host) {
    settings::SettingsStore store(path);
    store.load(settings::firstRunSettings());
    settings::SettingsHandle h = 0;
    ASSERT_TRUE(store.OpenSettingsKey(settings::sectionPath(QStringLiteral("Communications")), h));
    store.SetNumberValue(h, QStringLiteral("COMM Port"), commType);
    store.SetTextValue(h, QStringLiteral("IP Address"), host);
    store.SetNumberValue(h, QStringLiteral("Timeout"), 500);
    ASSERT_TRUE(store.CloseSettingsKey(h));
}

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

}  // namespace

// A simulator, a settings profile pointing at it over TCP, and a command line for the monitor.
class MainWindow : public ::testing::Test {
protected:
    test::SimProcess sim{{"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0", "--udp", "0"}};
    QTemporaryDir dir;
    QString settings = dir.filePath(QStringLiteral("settings.ini"));
    CommandLine line;
    ModalWatch modal;

    void SetUp() override {
        ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
        ::setenv("ZELCOM_UDP_PORT", std::to_string(sim.udpPort()).c_str(), 1);
        ::setenv("ZELMON_ZELCOM_LIBRARY", ZELCOM_LIBRARY_FILE, 1);
        writeSettings(settings, 2, QStringLiteral("127.0.0.1"));
        line.settingsFile = settings;
        line.logFile = dir.filePath(QStringLiteral("zelmon.log"));
        // Only the test of the start-up file choice answers it.
        line.loadRememberedFiles = true;
    }
    void TearDown() override {
        ::unsetenv("ZELCOM_TCP_PORT");
        ::unsetenv("ZELCOM_UDP_PORT");
        ::unsetenv("ZELMON_ZELCOM_LIBRARY");
    }

    // Top, Left, Height and Width as the settings file holds them.
    QList<int32_t> mainPlacement() const {
        settings::SettingsStore store(settings);
        store.load({});
        settings::SettingsHandle h = 0;
        QList<int32_t> values;
        if (!store.OpenSettingsKey(settings::sectionPath(QStringLiteral("Main")), h)) return values;
        for (const char* name : {"Top", "Left", "Height", "Width"}) {
            int32_t value = -1;
            store.QueryNumberValue(h, QLatin1String(name), value);
            values << value;
        }
        store.CloseSettingsKey(h);
        return values;
    }
    // Lets the timers run until the status line reads `text`, for at most a minute.
    static bool waitForMessage(QLabel* message, const QString& text) {
        return QTest::qWaitFor([&] { return message->text() == text; }, 60'000);
    }
};

// With the demo symbol file the resource windows name their rows after it.
TEST_F(MainWindow, StartsConnectedToTheSimulatorAndNamesItInTitleAndStatusLine) {
    line.files = {QStringLiteral(ZELSIM_DEMO_SYMBOLS)};
    {
        Application monitor(line);
        monitor.start();
        frmMain& main = monitor.mainWindow();
        EXPECT_TRUE(main.isVisible());
        EXPECT_EQ(main.windowTitle(), QStringLiteral("ZEL Monitor V3.6 - TCP/IP 127.0.0.1"));
        auto* message = main.findChild<QLabel*>(QStringLiteral("Message"));
        ASSERT_TRUE(message);
        EXPECT_EQ(message->text(), QStringLiteral("Connected to TCP/IP 127.0.0.1"));

        main.findChild<QPushButton*>(QStringLiteral("RegisterButton"))->click();
        auto* frmReg = main.findChild<QWidget*>(QStringLiteral("frmReg"));
        ASSERT_TRUE(frmReg);
        EXPECT_TRUE(frmReg->isVisible());
        EXPECT_EQ(frmReg->windowTitle(), QStringLiteral("Registers - TCP/IP 127.0.0.1"));
        EXPECT_EQ(message->text(), QStringLiteral("Register Form loaded."));
        EXPECT_EQ(frmReg->findChild<QLabel*>(QStringLiteral("Label1_0"))->text(),
                  QStringLiteral("Cycle_count"));
        main.findChild<QPushButton*>(QStringLiteral("ServoButton"))->click();
        auto* servos = main.findChild<QWidget*>(QStringLiteral("frmServo"));
        ASSERT_TRUE(servos);
        // The servo window names its rows in Label4; Label1 holds the number.
        EXPECT_EQ(servos->findChild<QLabel*>(QStringLiteral("Label4_0"))->text(),
                  QStringLiteral("X_axis"));
        // The demo controller has four servos: no window for servos 17-32.
        EXPECT_FALSE(main.findChild<QWidget*>(QStringLiteral("frmServo2")));
        main.close();
        EXPECT_FALSE(frmReg->isVisible());
    }
    EXPECT_TRUE(modal.texts.isEmpty()) << modal.texts.join('|').toStdString();
    QFile saved(settings);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("COMM Port=2"));
    // Never moved, the main window keeps the placement it read, though whole pixels cannot
    // hold it: 1008 twips are 67.2 pixels.
    EXPECT_EQ(mainPlacement(), QList<int32_t>({1008, 2036, 8000, 11000}));
}

// A folder is no symbol file either.
TEST_F(MainWindow, AMissingSymbolFileIsNamedAndTheMonitorStartsWithoutOne) {
    const QString folder = dir.filePath(QStringLiteral("folder.SYM"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& name : {dir.filePath(QStringLiteral("gone.SYM")), folder}) {
        line.files = {name};
        modal.texts.clear();
        {
            Application monitor(line);
            monitor.start();
            EXPECT_TRUE(monitor.state().files.SymbolFileName.isEmpty());
            monitor.mainWindow().close();
        }
        EXPECT_EQ(modal.texts, QStringList{QStringLiteral("Cannot find ") + name});
    }
}

// Files named on the command line open by their extension in any case: a definition file in
// the first custom screen, a table file in the data table over the controller's table (10 by 8
// in the demo); any other file is refused in the status line and the monitor runs on.
TEST_F(MainWindow, CommandLineFilesOpenByTheirExtension) {
    const QString table = dir.filePath(QStringLiteral("line.TAB"));
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    for (const QString& name : {table, notes}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("data_table[2][3] =\n{\n 1 2 3\n 65535 0 40\n}\n");
    }
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
        Application monitor(line);
        monitor.start();
        frmMain& main = monitor.mainWindow();
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
    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
    auto* message = main.findChild<QLabel*>(QStringLiteral("Message"));
    ASSERT_EQ(message->text(), QStringLiteral("Connected to TCP/IP 127.0.0.1"));

    for (QAction* a : main.findChildren<QAction*>())
        if (a->text() == QStringLiteral("Change &Configuration")) a->trigger();
    auto* setup = main.findChild<QDialog*>(QStringLiteral("frmSetup"));
    ASSERT_TRUE(setup && setup->isVisible());
    EXPECT_TRUE(monitor.state().flags.SetupOpen);
    auto* kind = setup->findChild<QComboBox*>(QStringLiteral("Combo1"));
    kind->setCurrentIndex(1);
    emit kind->activated(1);  // ZelUDP, as a user's choice
    setup->findChild<QPushButton*>(QStringLiteral("ExitButton"))->click();

    EXPECT_TRUE(waitForMessage(message, QStringLiteral("Connected to UDP 127.0.0.1")))
        << message->text().toStdString();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("ZEL Monitor V3.6 - UDP 127.0.0.1"));
    EXPECT_FALSE(monitor.state().flags.SetupOpen);
    main.close();
}

// A controller with more than sixteen servos gets the second servo window as well, titled like
// the first; opening the servos again reuses both.
TEST_F(MainWindow, TwentyServosOpenTheSecondServoWindow) {
    QFile demo(QStringLiteral(ZELSIM_DEMO_SCENARIO));
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    QByteArray scenario = demo.readAll();
    ASSERT_TRUE(scenario.contains("\"servos\": 4,"));
    scenario.replace("\"servos\": 4,", "\"servos\": 20,");
    QFile twenty(dir.filePath(QStringLiteral("twenty.json")));
    ASSERT_TRUE(twenty.open(QIODevice::WriteOnly));
    twenty.write(scenario);
    twenty.close();
    test::SimProcess big({"--scenario", twenty.fileName().toStdString(), "--tcp", "0"});
    ::setenv("ZELCOM_TCP_PORT", std::to_string(big.tcpPort()).c_str(), 1);

    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
    ASSERT_EQ(monitor.state().connection.Counts.ServoCount(), 20);
    auto* button = main.findChild<QPushButton*>(QStringLiteral("ServoButton"));
    button->click();
    auto* second = main.findChild<QWidget*>(QStringLiteral("frmServo2"));
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->windowTitle(), QStringLiteral("Motors/Servos 17-32 - TCP/IP 127.0.0.1"));
    second->close();
    button->click();
    EXPECT_EQ(main.findChildren<QWidget*>(QStringLiteral("frmServo2")).size(), 1);
    EXPECT_TRUE(second->isVisible());
    main.close();
}

// "View Bits" opens the one Register bits window on the range of the window it was pressed in.
TEST_F(MainWindow, ViewBitsOpensTheOneBitsWindowOnItsRange) {
    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
    auto viewBits = [&main](const char* button, const char* form) {
        main.findChild<QPushButton*>(QString::fromLatin1(button))->click();
        main.findChild<QWidget*>(QString::fromLatin1(form))
            ->findChild<QPushButton*>(QStringLiteral("Command1"))
            ->click();
        return main.findChild<QWidget*>(QStringLiteral("frmRegBits"));
    };

    QWidget* bits = viewBits("NVRamButton", "frmRam");
    ASSERT_TRUE(bits && bits->isVisible());
    EXPECT_TRUE(bits->findChild<QRadioButton*>(QStringLiteral("Option2"))->isChecked());
    EXPECT_EQ(bits->findChild<QLabel*>(QStringLiteral("Label2_0"))->text(), QStringLiteral("32001"));
    EXPECT_TRUE(monitor.state().flags.windows.RegbitsFormOpen);

    EXPECT_EQ(viewBits("RegisterButton", "frmReg"), bits);
    EXPECT_TRUE(bits->findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    EXPECT_EQ(bits->findChild<QLabel*>(QStringLiteral("Label2_1"))->text(), QStringLiteral("2"));
    main.close();
    EXPECT_FALSE(monitor.state().flags.windows.RegbitsFormOpen);
}

// An exchange the settings say was running runs again from start-up, its window still hidden.
TEST_F(MainWindow, ASavedExchangeRunsAgainWithoutTheDdeWindowOpened) {
    {
        settings::SettingsStore store(settings);
        store.load({});
        settings::SettingsHandle h = 0;
        ASSERT_TRUE(store.OpenSettingsKey(settings::sectionPath(QStringLiteral("DDE Setup")), h));
        store.SetNumberValue(h, QStringLiteral("Flag"), 1);
        store.SetNumberValue(h, QStringLiteral("Register Address"), 2);
        ASSERT_TRUE(store.CloseSettingsKey(h));
    }
    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
    auto* dde = main.findChild<QWidget*>(QStringLiteral("frmDDE"));
    ASSERT_TRUE(dde);
    auto* read = dde->findChild<QLabel*>(QStringLiteral("RegRead"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return read->text() == QStringLiteral("1234"); }, 60'000))
        << read->text().toStdString();
    EXPECT_FALSE(dde->isVisible());
    main.close();
}

// A client's command opens the DDE window; typing an address pauses the exchange until Enter,
// the tick then reads it, and a write from the Flags window empties the flag write box.
TEST_F(MainWindow, TheDdeWindowOpensByCommandAndItsExchangeRunsInTheTick) {
    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
    EXPECT_FALSE(main.executeCommand(QStringLiteral("DDE")));
    EXPECT_TRUE(main.executeCommand(QStringLiteral("ddeSetup")));
    auto* dde = main.findChild<QWidget*>(QStringLiteral("frmDDE"));
    ASSERT_TRUE(dde && dde->isVisible());
    EXPECT_EQ(dde->windowTitle(), QStringLiteral("DDE Screen 1 - 127.0.0.1"));

    auto* address = dde->findChild<QLineEdit*>(QStringLiteral("RegAddress"));
    QTest::keyClicks(address, QStringLiteral("2"));
    EXPECT_FALSE(monitor.state().flags.DdeActive);
    EXPECT_EQ(address->text(), QStringLiteral("2"));
    QTest::keyClick(address, Qt::Key_Return);
    EXPECT_TRUE(monitor.state().flags.DdeActive);
    EXPECT_EQ(monitor.state().dde.DdeRegAddress, 2);
    auto* read = dde->findChild<QLabel*>(QStringLiteral("RegRead"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return read->text() == QStringLiteral("1234"); }, 60'000))
        << read->text().toStdString();

    auto* flagWrite = dde->findChild<QLineEdit*>(QStringLiteral("FlagWrite"));
    QTest::keyClicks(flagWrite, QStringLiteral("1"));
    EXPECT_TRUE(main.executeCommand(QStringLiteral("flags")));
    auto* flags = main.findChild<QWidget*>(QStringLiteral("frmFlag"));
    ASSERT_TRUE(flags && flags->isVisible());
    flags->findChild<QPushButton*>(QStringLiteral("SSCommand1_0"))->click();
    EXPECT_EQ(flagWrite->text(), QString());
    main.close();
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
    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
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
    main.close();
}

// The data table window reads the controller's table as it opens, and Monitor Setup opens over
// the same table.
TEST_F(MainWindow, TheDataTableOpensOnTheControllersTable) {
    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
    main.findChild<QPushButton*>(QStringLiteral("TableButton"))->click();
    auto* table = main.findChild<QWidget*>(QStringLiteral("frmTable"));
    ASSERT_TRUE(table && table->isVisible());
    EXPECT_EQ(table->windowTitle(), QStringLiteral("Data Table - TCP/IP 127.0.0.1"));
    EXPECT_EQ(table->findChild<QLineEdit*>(QStringLiteral("txtRows"))->text(), QStringLiteral("10"));
    EXPECT_EQ(table->findChild<QLineEdit*>(QStringLiteral("txtCols"))->text(), QStringLiteral("8"));
    QAbstractItemModel* grid = table->findChild<QTableView*>(QStringLiteral("tgDTable"))->model();
    ASSERT_EQ(grid->rowCount(), 10);
    ASSERT_EQ(grid->columnCount(), 10);  // Row #, eight columns, Message
    EXPECT_EQ(grid->data(grid->index(0, 2)).toString(), QStringLiteral("10"));
    EXPECT_EQ(grid->headerData(9, Qt::Horizontal).toString(), QStringLiteral("Message"));

    table->findChild<QAction*>(QStringLiteral("mnuOptionsSetup"))->trigger();
    auto* setup = main.findChild<QWidget*>(QStringLiteral("frmTableMon"));
    ASSERT_TRUE(setup && setup->isVisible());
    EXPECT_EQ(setup->findChild<QLineEdit*>(QStringLiteral("txtMonEndRow"))->text(),
              QStringLiteral("10"));
    main.close();
    EXPECT_FALSE(table->isVisible());
    EXPECT_TRUE(modal.texts.isEmpty()) << modal.texts.join('|').toStdString();
}

// frmFiles at start-up: Okay with the data table's box cleared forgets that name alone, Cancel
// forgets them all; either way the settings file holds the choice before the monitor ends.
TEST_F(MainWindow, TheStartupFileChoiceForgetsWhatTheUserClears) {
    struct Case {
        const char* button;
        bool clearDataTable;
        const char* customScreen;  // what remains remembered
        const char* dataTable;
    };
    const Case cases[] = {
        {"SSCommand1", true, ZELSIM_DEMO_SCREEN, ""},
        {"SSCommand2", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        {
            settings::SettingsStore store(settings);
            store.load({});
            settings::SettingsHandle h = 0;
            ASSERT_TRUE(store.OpenSettingsKey(settings::sectionPath(QStringLiteral("Files")), h));
            store.SetTextValue(h, QStringLiteral("Custom Screen 1"),
                               QStringLiteral(ZELSIM_DEMO_SCREEN));
            store.SetTextValue(h, QStringLiteral("Data Table"), QStringLiteral("/plant/line.tab"));
            ASSERT_TRUE(store.CloseSettingsKey(h));
        }
        line.loadRememberedFiles = false;
        QStringList offered;
        QTimer answer;
        answer.setInterval(20);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QStringLiteral("frmFiles")) return;
            for (auto* box : dialog->findChildren<QCheckBox*>())
                offered << box->objectName() + u'=' + (box->isChecked() ? u'1' : u'0');
            if (c.clearDataTable)
                dialog->findChild<QCheckBox*>(QStringLiteral("SSCheck4"))->setChecked(false);
            dialog->findChild<QPushButton*>(QString::fromLatin1(c.button))->click();
        });
        answer.start();
        Application monitor(line);
        monitor.start();
        answer.stop();
        EXPECT_EQ(offered, (QStringList{"SSCheck1=1", "SSCheck2=0", "SSCheck3=0", "SSCheck4=1"}));
        EXPECT_EQ(monitor.state().files.CustomScreen1File, QString::fromLatin1(c.customScreen));
        EXPECT_EQ(monitor.state().files.DataTableFile, QString::fromLatin1(c.dataTable));

        settings::SettingsStore saved(settings);
        saved.load({});
        settings::SettingsHandle h = 0;
        ASSERT_TRUE(saved.OpenSettingsKey(settings::sectionPath(QStringLiteral("Files")), h));
        QString screen, table;
        saved.QueryTextValue(h, QStringLiteral("Custom Screen 1"), screen);
        saved.QueryTextValue(h, QStringLiteral("Data Table"), table);
        saved.CloseSettingsKey(h);
        EXPECT_EQ(screen, QString::fromLatin1(c.customScreen));
        EXPECT_EQ(table, QString::fromLatin1(c.dataTable));
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
        Application monitor(line);
        monitor.start();
        frmMain& main = monitor.mainWindow();
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

// The configuration menu's last entry opens the firmware update window, its module list ready.
TEST_F(MainWindow, UpdateFirmwareOpensTheFirmwareWindow) {
    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
    auto* entry = main.findChild<QAction*>(QStringLiteral("mnuFirmware"));
    ASSERT_TRUE(entry);
    ASSERT_TRUE(entry->isEnabled());
    entry->trigger();
    auto* flash = main.findChild<QWidget*>(QStringLiteral("frmProgFlash"));
    ASSERT_TRUE(flash);
    EXPECT_TRUE(flash->isVisible());
    EXPECT_TRUE(flash->windowTitle().startsWith(QStringLiteral("Update Firmware")));
    auto* modules = flash->findChild<QComboBox*>(QStringLiteral("Combo1"));
    ASSERT_TRUE(modules);
    EXPECT_EQ(modules->count(), 3);
    EXPECT_EQ(modules->currentText(), QStringLiteral("4815K/KP/KPZ CPU"));
    EXPECT_EQ(flash->findChild<QLabel*>(QStringLiteral("lblModule"))->text(),
              QStringLiteral("Select Module to Update"));
    EXPECT_FALSE(flash->findChild<QWidget*>(QStringLiteral("ProgressBar1"))->isVisible());
    main.close();
}

// The File menu's program transfer window opens beside the main window, hidden by Exit and
// shown again by the same entry with its status line cleared.
TEST_F(MainWindow, TheProgramTransferWindowOpensFromTheFileMenuAndExitHidesIt) {
    Application monitor(line);
    monitor.start();
    frmMain& main = monitor.mainWindow();
    auto* entry = main.findChild<QAction*>(QStringLiteral("mnuProgramTransfer"));
    ASSERT_TRUE(entry && entry->isEnabled());
    entry->trigger();
    auto* transfer = main.findChild<QWidget*>(QStringLiteral("frmLoadMain"));
    ASSERT_TRUE(transfer && transfer->isVisible());
    EXPECT_EQ(transfer->windowTitle(), QStringLiteral("Program Transfer Utility"));
    EXPECT_GT(transfer->pos().x(), main.pos().x());
    EXPECT_EQ(monitor.state().settings.BaudRate, 9600);
    auto* status = transfer->findChild<QLabel*>(QStringLiteral("Label2"));
    status->setText(QStringLiteral("Download Complete!"));
    transfer->findChild<QPushButton*>(QStringLiteral("ExitButton"))->click();
    EXPECT_FALSE(transfer->isVisible());
    entry->trigger();
    EXPECT_TRUE(transfer->isVisible());
    EXPECT_EQ(status->text(), QString());
    main.close();
}
