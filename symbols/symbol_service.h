// The main window's side of the symbols: the start-up import, the "Open &Symbol File..."
// menu action, the close at shutdown, and the lookup the windows name resources with. The
// screen is reached only through SymbolUi, so tests run it without a display or a dialog.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "common/app_state.h"
#include "common/event_pump.h"
#include "symbols/import_progress.h"
#include "symbols/symbol_database.h"
#include "symbols/symbol_import.h"

namespace zel::symbols {

struct SymbolFileDialogOptions {
    QString defaultSuffix;
    QStringList filters;
    int selectedFilter = 0;  // index into filters
    QString directory;       // the folder of the file in use, empty for none
};

// Returns the chosen file, empty when the user cancels.
using SymbolFileChooser = std::function<QString(const SymbolFileDialogOptions&)>;

// Hooks into the main window; any may be left empty.
struct SymbolUi {
    std::function<void(const QString&)> setMessage;  // the status line, refreshed at once
    std::function<void(bool)> setBusyPointer;        // hourglass on or off
    std::function<void()> repaintMain;
    EventPump pump;  // runs pending events during an import
    SymbolFileChooser chooseFile;
};

class SymbolService {
public:
    // `files.SymbolFileName` is the symbol file in use; the service sets and clears it.
    SymbolService(FileSettings& files, SymbolUi ui, const QString& databaseBase = {});

    // Load step: imports the symbol file in use, if any, without progress messages.
    void importAtStartup();
    // The menu action: choose a file, rebuild the database from it.
    void OpenSymbolFile();
    // Shutdown: closes and deletes the database. Safe in the middle of an import, which then
    // ends without a word.
    bool close();

    SymbolLookup& lookup() { return database_; }
    SymbolDatabase& database() { return database_; }
    ImportProgress& progress() { return progress_; }
    bool importing() const { return importing_; }
    const ImportResult& lastImport() const { return lastImport_; }

    static SymbolFileDialogOptions dialogOptions(const QString& currentFile);

private:
    void rebuild(bool withMessages);
    bool importAndQuery();
    void reportUnreadableLines() const;
    void forgetSymbols(const QString& phrase, const QString& reason);
    void message(const QString& text) const;
    void busy(bool on) const;

    FileSettings& files_;
    SymbolUi ui_;
    SymbolDatabase database_;
    ImportProgress progress_;
    ImportResult lastImport_;
    bool importing_ = false;
    bool closedDuringImport_ = false;
};

}  // namespace zel::symbols
