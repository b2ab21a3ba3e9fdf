// The import of a symbol file into the symbol database: every line is scanned and stored in
// one transaction, a later line with the same code, number and value replacing the earlier
// name, while the progress model follows the share of the file read. Lines that are not text
// are passed over and counted by number.
#pragma once

#include <QString>

#include <vector>

#include "symbols/import_progress.h"
#include "symbols/symbol_database.h"

class QIODevice;

namespace zel::symbols {

struct ImportResult {
    bool ok = false;
    QString error;       // why nothing was imported, as a phrase ("it is not a text file: ...")
    qint64 lines = 0;    // lines read
    qint64 stored = 0;   // lines that were stored, a repeated code, number and value included
    qint64 skipped = 0;  // lines with fields but without a name
    qint64 cut = 0;      // names cut to kNameLength characters
    std::vector<qint64> unreadable;  // numbers of the lines that are not text, from 1
};

// The status line's report of the lines that were not text, naming the first few; empty when
// every line was text.
QString unreadableLinesText(const QString& fileName, const std::vector<qint64>& lines);

// Reads the file from the device. On failure the table keeps what it held before.
ImportResult importSymbols(QIODevice& device, SymbolDatabase& db, ImportProgress& progress);
ImportResult importSymbolFile(const QString& path, SymbolDatabase& db, ImportProgress& progress);

}  // namespace zel::symbols
