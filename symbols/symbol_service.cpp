#include "symbols/symbol_service.h"

#include <QDir>
#include <QFileInfo>

namespace zel::symbols {

SymbolService::SymbolService(FileSettings& files, SymbolUi ui, const QString& databaseBase)
    : files_(files), ui_(std::move(ui)), database_(files, databaseBase), progress_(ui_.pump) {}

SymbolFileDialogOptions SymbolService::dialogOptions(const QString& currentFile) {
    SymbolFileDialogOptions options;
    options.defaultSuffix = QStringLiteral("SYM");
    options.filters = {QStringLiteral("Symbol Files (*.SYM *.sym)"),
                       QStringLiteral("All Files (*)")};
    options.selectedFilter = 0;
    if (!currentFile.isEmpty()) options.directory = QFileInfo(currentFile).absolutePath();
    return options;
}

void SymbolService::importAtStartup() {
    if (files_.SymbolFileName.isEmpty() || importing_) return;
    rebuild(false);
}

void SymbolService::OpenSymbolFile() {
    if (importing_) return;
    const QString current = files_.SymbolFileName;
    files_.SymbolFileName = ui_.chooseFile ? ui_.chooseFile(dialogOptions(current)) : QString();
    if (files_.SymbolFileName.isEmpty()) return;
    message(QStringLiteral("Creating database, please wait ..."));
    rebuild(true);
}

bool SymbolService::close() {
    if (importing_) closedDuringImport_ = true;
    return database_.CloseSymbolDatabase();
}

void SymbolService::rebuild(bool withMessages) {
    busy(true);
    if (!database_.CloseSymbolDatabase() || !database_.CreateSymbolDatabase())
        forgetSymbols(QStringLiteral("Failed to create symbol database!"), database_.errorText());
    else if (importAndQuery()) {
        if (withMessages) message(QStringLiteral("New Symbol Database created."));
        reportUnreadableLines();
    }
    busy(false);
}

bool SymbolService::importAndQuery() {
    importing_ = true;
    closedDuringImport_ = false;
    lastImport_ = importSymbolFile(files_.SymbolFileName, database_, progress_);
    importing_ = false;
    if (closedDuringImport_) return false;
    if (ui_.repaintMain) ui_.repaintMain();
    if (!lastImport_.ok) {
        database_.CloseSymbolDatabase();
        forgetSymbols(QStringLiteral("Failed to import symbol file!"),
                      QDir::toNativeSeparators(files_.SymbolFileName) + QStringLiteral(": ") +
                          lastImport_.error);
        return false;
    }
    database_.OpenSymbolQueries();
    return true;
}

// Told after the database is ready, so the menu's "created" text comes first.
void SymbolService::reportUnreadableLines() const {
    const QString text = unreadableLinesText(QDir::toNativeSeparators(files_.SymbolFileName),
                                             lastImport_.unreadable);
    if (!text.isEmpty()) message(text);
}

// Without a usable database the windows go back to their own captions.
void SymbolService::forgetSymbols(const QString& phrase, const QString& reason) {
    files_.SymbolFileName.clear();
    message(phrase + u'\n' + reason);
}

void SymbolService::message(const QString& text) const {
    if (ui_.setMessage) ui_.setMessage(text);
}

void SymbolService::busy(bool on) const {
    if (ui_.setBusyPointer) ui_.setBusyPointer(on);
}

}  // namespace zel::symbols
