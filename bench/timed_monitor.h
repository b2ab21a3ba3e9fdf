// What the monitor benchmarks share: a settings profile that points at the simulator on TCP
// loopback, and the main window with its event pump timed.
#pragma once

#include <QElapsedTimer>
#include <QString>

#include "app/frm_main.h"
#include "settings/first_run.h"
#include "settings/settings_sections.h"

namespace zel::bench {

inline void writeSimulatorProfile(const QString& path, int timeoutMs) {
    settings::SettingsStore store(path);
    store.load(settings::firstRunSettings());
    settings::SettingsHandle h = 0;
    store.OpenSettingsKey(settings::sectionPath(QStringLiteral("Communications")), h);
    store.SetNumberValue(h, QStringLiteral("COMM Port"), 2);
    store.SetTextValue(h, QStringLiteral("IP Address"), QStringLiteral("127.0.0.1"));
    store.SetNumberValue(h, QStringLiteral("Timeout"), timeoutMs);
    store.CloseSettingsKey(h);
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
