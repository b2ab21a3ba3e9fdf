#include "symbols/symbol_import.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

#include "symbols/line_reader.h"
#include "symbols/symbol_line.h"

namespace zel::symbols {
namespace {

constexpr QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

QString databaseError(const SymbolDatabase& db) {
    return QStringLiteral("the symbol database failed: ") + db.errorText();
}

int percentDone(qint64 consumed, qint64 size) {
    return size > 0 ? static_cast<int>(std::min<qint64>(consumed * 100 / size, 100)) : 0;
}

// Counts the line and stores it when it names a symbol; false when the database fails.
bool storeLine(QByteArrayView line, ScannedLine& scanned, SymbolDatabase& db,
               ImportResult& result) {
    ++result.lines;
    if (result.lines == 1 && line.startsWith(kUtf8Mark)) line = line.sliced(kUtf8Mark.size());
    scanSymbolLine(line, scanned);
    if (scanned.kind == LineKind::NoName) ++result.skipped;
    if (scanned.kind != LineKind::Symbol) return true;
    if (!db.addSymbol(scanned.record)) return false;
    ++result.stored;
    if (scanned.nameCut) ++result.cut;
    return true;
}

void readLines(QIODevice& device, SymbolDatabase& db, ImportProgress& progress,
               ImportResult& result) {
    LineReader reader(device);
    const qint64 size = device.isSequential() ? 0 : device.size();
    QByteArrayView line;
    ScannedLine scanned;
    LineReader::Status status;
    while ((status = reader.next(line)) == LineReader::Status::Line ||
           status == LineReader::Status::Unreadable) {
        if (status == LineReader::Status::Unreadable) {
            ++result.lines;
            result.unreadable.push_back(reader.lineNumber());
        } else if (!storeLine(line, scanned, db, result)) {
            result.error = databaseError(db);
            return;
        }
        progress.setPercent(percentDone(reader.consumed(), size));
    }
    if (status == LineReader::Status::Error) result.error = reader.errorText();
}

}  // namespace

QString unreadableLinesText(const QString& fileName, const std::vector<qint64>& lines) {
    constexpr size_t kNamed = 10;
    if (lines.empty()) return {};
    QStringList numbers;
    for (size_t i = 0; i < std::min(lines.size(), kNamed); ++i)
        numbers << QString::number(lines[i]);
    QString list = numbers.join(QStringLiteral(", "));
    if (lines.size() > kNamed) list += QStringLiteral(" and %1 more").arg(lines.size() - kNamed);
    return QStringLiteral("Symbol file %1: %2 %3 skipped, %4 not text.")
        .arg(fileName, lines.size() == 1 ? QStringLiteral("line") : QStringLiteral("lines"), list,
             lines.size() == 1 ? QStringLiteral("it is") : QStringLiteral("they are"));
}

ImportResult importSymbols(QIODevice& device, SymbolDatabase& db, ImportProgress& progress) {
    ImportResult result;
    progress.begin();
    if (db.beginImport())
        readLines(device, db, progress, result);
    else
        result.error = databaseError(db);
    if (result.error.isEmpty() && !db.commitImport()) result.error = databaseError(db);
    if (!result.error.isEmpty()) db.rollbackImport();
    progress.end();
    result.ok = result.error.isEmpty();
    return result;
}

ImportResult importSymbolFile(const QString& path, SymbolDatabase& db, ImportProgress& progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ImportResult result;
        result.error = QStringLiteral("cannot open it: ") + file.errorString();
        return result;
    }
    return importSymbols(file, db, progress);
}

}  // namespace zel::symbols
