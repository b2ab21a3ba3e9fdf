// What the monitor benchmarks share: the settings profiles the tests write too, every window of
// the main window opened as a user would, and the main window with its event pump timed.
#pragma once

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QString>

#include "app/command_line.h"
#include "app/frm_main.h"
#include "tests/support/monitor_profile.h"

namespace zel::bench {

// The profiles live with the tests, which write the same ones.
using test::writeSerialProfile;
using test::writeSimulatorProfile;

// The monitor's command line for a run on `profile`: its log beside it, and every remembered
// file loaded, since nobody answers the question at start-up.
inline CommandLine monitorCommandLine(const QString& profile) {
    CommandLine line;
    line.settingsFile = profile;
    line.logFile = profile + QStringLiteral(".log");
    line.loadRememberedFiles = true;
    return line;
}

// The buttons of the main window that open the step status and every resource window.
inline void clickEveryWindowButton(QWidget& main) {
    for (const char* name : {"RegisterButton", "NVRamButton", "FlagButton", "InputButton",
                             "OutputButton", "AinButton", "AoutButton", "ServoButton",
                             "StatButton"})
        if (auto* b = main.findChild<QPushButton*>(QString::fromLatin1(name))) b->click();
    QApplication::processEvents();
}

// The clock, from its menu entry, and every window the buttons open.
inline void openEveryWindow(QWidget& main) {
    main.findChild<QAction*>(QStringLiteral("mnuClock"))->trigger();
    clickEveryWindowButton(main);
}

class TimedMainWindow : public frmMain {
public:
    double pumpNs = 0;
    void processEvents() override {
        QElapsedTimer t;
        t.start();
        frmMain::processEvents();
        pumpNs += static_cast<double>(t.nsecsElapsed());
    }
};

}  // namespace zel::bench
