// The main window's four sections (Communications, DDE Setup, Files, Main): read at start-up
// straight into the monitor's state and the main window's placement, and written back from them
// at shutdown. No widgets: the caller shows the returned messages, in order.
#pragma once

#include "common/app_state.h"
#include "settings/settings_data.h"
#include "settings/settings_store.h"
#include "settings/window_placement.h"

#include <QString>
#include <QStringList>

namespace zel::settings {

// What the four sections hold: the connection settings, the DDE setup and its DdeActive flag,
// the files, Support7400, and the main window's placement in twips.
struct MainRecords {
    AppState& state;
    WindowPlacement& placement;
};

// Reads the four sections into `records`. `commandLineSymbolFile` is the symbol file named on
// the command line (empty when none, or when it did not exist): it wins over the stored one,
// but a missing Files section clears it. Close failures are appended to `messages`.
void loadMainSettings(SettingsStore& store, const QString& commandLineSymbolFile,
                      MainRecords records, QStringList& messages);

// Writes the four sections from `records`. A minimised or maximised window stores its fixed
// placement instead of the records' one. Write and close failures are appended to `messages`.
void saveMainSettings(SettingsStore& store, MainRecords records, DisplayState windowState,
                      QStringList& messages);

// Fills the four sections with the values that loading takes when a section is missing, so a
// first run, which creates the sections, starts the same as a run with no sections at all.
void addMainSectionDefaults(SettingsData& data);

}  // namespace zel::settings
