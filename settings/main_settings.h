// The main window's four sections (Communications, DDE Setup, Files, Main): loaded at start-up,
// written at shutdown. No widgets: the caller shows the returned messages, in order.
#pragma once

#include "settings/settings_data.h"
#include "settings/settings_store.h"
#include "settings/window_placement.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace zel::settings {

struct MainSettings {
    // Communications
    std::int32_t CommType = 0;
    std::int32_t BaudRate = 0;
    std::int32_t HostNode = 0;
    std::int32_t TargetNode = 0;
    std::int32_t AdapterIndex = 0;
    QString ControllerHost{};
    std::int32_t CommTimeout = 0;  // milliseconds
    // DDE Setup
    std::int32_t DdeBlock50 = 0;
    std::int32_t DdeActive = 0;
    std::int32_t DdeFlagAddress = 0;
    std::int32_t DdeRegAddress = 0;
    std::int32_t UpdateInterval = 0;  // milliseconds
    // Files
    QString Custom1File{};
    QString Custom2File{};
    QString DataTableFile{};
    QString SymbolFileName{};
    // Main: the window's placement in twips, and the 7400 support switch
    std::int32_t Top = 0;
    std::int32_t Left = 0;
    std::int32_t Height = 0;
    std::int32_t Width = 0;
    bool Support7400 = false;

    bool operator==(const MainSettings&) const = default;
};

// Reads the four sections. `commandLineSymbolFile` is the symbol file named on the command line
// (empty when none, or when it did not exist): it wins over the stored one, but a missing Files
// section clears it. Close failures are appended to `messages`.
MainSettings loadMainSettings(SettingsStore& store, const QString& commandLineSymbolFile,
                              QStringList& messages);

// Writes the four sections. A minimised or maximised window stores its fixed placement instead
// of `values`' Top, Left, Height and Width. Write and close failures are appended to `messages`.
void saveMainSettings(SettingsStore& store, const MainSettings& values, DisplayState windowState,
                      QStringList& messages);

// Fills the four sections with the values that loading takes when a section is missing, so a
// first run, which creates the sections, starts the same as a run with no sections at all.
void addMainSectionDefaults(SettingsData& data);

}  // namespace zel::settings
