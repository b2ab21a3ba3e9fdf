// What the monitor benchmarks share: a settings profile that points at the simulator on TCP
// loopback or at a serial port, every window of the main window opened as a user would, and the
// main window with its event pump timed.
#pragma once

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QString>

#include "app/frm_main.h"
#include "common/connection_settings.h"
#include "settings/first_run.h"
#include "settings/settings_sections.h"

namespace zel::bench {

// A first-run profile whose link is `commType` at `address` (empty for a serial port).
inline void writeLinkProfile(const QString& path, int commType, const QString& address,
                             int timeoutMs) {
    settings::SettingsStore store(path);
    store.load(settings::firstRunSettings());
    settings::SettingsHandle h = 0;
    store.OpenSettingsKey(settings::sectionPath(QStringLiteral("Communications")), h);
    store.SetNumberValue(h, QStringLiteral("COMM Port"), commType);
    store.SetTextValue(h, QStringLiteral("IP Address"), address);
    store.SetNumberValue(h, QStringLiteral("Timeout"), timeoutMs);
    store.CloseSettingsKey(h);
}

inline void writeSimulatorProfile(const QString& path, int timeoutMs) {
    writeLinkProfile(path, kCommTcp, QStringLiteral("127.0.0.1"), timeoutMs);
}

// Serial port `port` (1-based) is the device $ZELCOM_COMM<port> names.
inline void writeSerialProfile(const QString& path, int port, int timeoutMs) {
    writeLinkProfile(path, kCommFirstSerial + port - 1, QString(), timeoutMs);
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
