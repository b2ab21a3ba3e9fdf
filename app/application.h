// The monitor's start-up sequence and the objects that live for the whole run: the log, the
// settings, the communication library, the process-wide state and the main window.
#pragma once

#include <QString>

#include "common/app_state.h"
#include "app/command_line.h"
#include "link/dynamic_zel_library.h"
#include "link/link_thread_library.h"
#include "app/frm_main.h"
#include "app/main_window_model.h"
#include "settings/settings_store.h"
#include "app/status_log.h"
#include "symbols/frm_symbol.h"
#include "symbols/symbol_service.h"

namespace zel {

class Application {
public:
    explicit Application(const CommandLine& commandLine);

    // Splash, the command line's files checked, settings, main window load with the first
    // connection attempt, half a second's delay, the main window, then the files it named.
    void start();

    frmMain& mainWindow() { return window_; }
    MainWindowModel& model() { return model_; }
    AppState& state() { return state_; }

private:
    void reportMissingFiles(const QStringList& names);
    void openFiles(const CommandLineFiles& files);
    symbols::SymbolUi symbolUi();
    void loadSettings();

    CommandLine commandLine_;
    StatusLog log_;
    settings::SettingsStore store_;
    DynamicZelLibrary library_;
    LinkThreadLibrary link_;  // every call of the monitor runs on its thread
    AppState state_;
    frmMain window_;
    MainWindowModel model_;
    symbols::SymbolService symbols_;
    symbols::frmSymbol symbolProgress_;
};

}  // namespace zel
