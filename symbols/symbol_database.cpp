#include "symbols/symbol_database.h"

#include <QDir>

#include "common/file_listing.h"
#include "symbols/symbol_writer.h"

namespace zel::symbols {
namespace {

constexpr char kTableSql[] =
    "CREATE TABLE Symbols ("
    " Code TEXT(20) NOT NULL CHECK (length(Code) <= 20),"
    " Number INTEGER NOT NULL,"
    " Value INTEGER NOT NULL,"
    " Name TEXT(40) NOT NULL CHECK (length(Name) <= 40));";

}  // namespace

SymbolDatabase::SymbolDatabase(const FileSettings& files, const QString& baseFolder)
    : files_(files), folder_(baseFolder) {}

SymbolDatabase::~SymbolDatabase() {
    CloseSymbolDatabase();
}

const char* SymbolDatabase::schemaSql() {
    static const QByteArray sql = QByteArray(kTableSql) + kSymbolIndexSql;
    return sql.constData();
}

QString SymbolDatabase::filePath() const {
    return folder_.exists() ? folder_.path() + u'/' + QLatin1String(kDatabaseFileName) : QString();
}

bool SymbolDatabase::CreateSymbolDatabase() {
    if (!closeConnection()) return fail(db_.errorText());
    deleteOldFiles();
    error_.clear();
    if (!folder_.create(error_) || !createFile()) {
        const QString reason = error_;
        CloseSymbolDatabase();
        error_ = reason;
        return false;
    }
    return true;
}

// The file is rebuilt on every import and deleted at exit, so it needs neither a journal on
// disk nor waiting for the disk.
bool SymbolDatabase::createFile() {
    if (!db_.open(filePath(), error_)) return false;
    if (db_.exec("PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF;") &&
        db_.exec(schemaSql()))
        return true;
    error_ = db_.errorText();
    return false;
}

bool SymbolDatabase::CloseSymbolDatabase() {
    if (!folder_.exists()) return true;
    if (!closeConnection()) return fail(db_.errorText());
    if (!folder_.remove()) return fail(QStringLiteral("Cannot delete %1.").arg(folder_.path()));
    return true;
}

bool SymbolDatabase::closeConnection() {
    writer_.reset();
    for (SqliteStatement& query : queries_) query.finalize();
    byName_.finalize();
    return db_.close();
}

void SymbolDatabase::deleteOldFiles() const {
    if (!folder_.exists()) return;
    QDir dir(folder_.path());
    for (const QString& file : entriesStartingWith(dir, u"SYMBOL.", QDir::Files)) dir.remove(file);
}

bool SymbolDatabase::fail(const QString& reason) {
    error_ = reason;
    return false;
}

bool SymbolDatabase::beginImport() {
    if (!db_.isOpen()) return fail(QStringLiteral("The symbol database is not open."));
    writer_ = SymbolWriter::begin(db_, error_);
    return writer_ != nullptr;
}

bool SymbolDatabase::addSymbol(const SymbolRecord& record) {
    if (!writer_) return fail(QStringLiteral("The symbol database was closed."));
    return writer_->add(record, error_);
}

bool SymbolDatabase::commitImport() {
    if (!writer_) return fail(QStringLiteral("The symbol database was closed."));
    const bool ok = writer_->commit(error_);
    if (ok && !writer_->lastCriteria().isEmpty()) criteria_ = writer_->lastCriteria();
    writer_.reset();
    return ok;
}

void SymbolDatabase::rollbackImport() {
    writer_.reset();
}

}  // namespace zel::symbols
