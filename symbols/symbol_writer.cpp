#include "symbols/symbol_writer.h"

#include <sqlite3.h>

namespace zel::symbols {

std::unique_ptr<SymbolWriter> SymbolWriter::begin(SqliteConnection& db, QString& error) {
    std::unique_ptr<SymbolWriter> writer(new SymbolWriter(db));
    if (!db.exec("BEGIN")) {
        error = db.errorText();
        writer->committed_ = true;  // nothing to roll back
        return nullptr;
    }
    if (!writer->widenCache() || !db.exec(kDropSymbolIndexSql)) {
        error = db.errorText();
        return nullptr;
    }
    if (!writer->prepare(error) || !writer->loadKeys(error)) return nullptr;
    return writer;
}

SymbolWriter::~SymbolWriter() {
    insert_.finalize();
    rename_.finalize();
    if (!committed_) db_.exec("ROLLBACK");
    if (cacheSize_)
        db_.exec(("PRAGMA cache_size = " + QByteArray::number(*cacheSize_)).constData());
}

// The index is sorted in the page cache; at SQLite's default size the rows of a large file
// spill to temporary files, to be merged back. Made larger for the import only, so the
// connection does not keep that many pages once it is done.
bool SymbolWriter::widenCache() {
    constexpr int kImportCacheKiB = 16 * 1024;
    int64_t own = 0;
    {
        SqliteStatement size;
        if (!size.prepare(db_, "PRAGMA cache_size") || size.step() != SqliteStatement::Step::Row)
            return false;
        own = size.columnInt(0);
    }
    if (!db_.exec(("PRAGMA cache_size = -" + QByteArray::number(kImportCacheKiB)).constData()))
        return false;
    cacheSize_ = own;
    return true;
}

bool SymbolWriter::prepare(QString& error) {
    if (insert_.prepare(db_,
                        "INSERT INTO Symbols (Code, Number, Value, Name) "
                        "VALUES (?1, ?2, ?3, ?4)") &&
        rename_.prepare(db_, "UPDATE Symbols SET Name = ?1 WHERE rowid = ?2"))
        return true;
    error = db_.errorText();
    return false;
}

bool SymbolWriter::loadKeys(QString& error) {
    SqliteStatement keys;
    if (!keys.prepare(db_, "SELECT rowid, Code, Number, Value FROM Symbols")) {
        error = db_.errorText();
        return false;
    }
    SqliteStatement::Step step;
    while ((step = keys.step()) == SqliteStatement::Step::Row) {
        const Key key = keyOf(keys.columnText(1), static_cast<int32_t>(keys.columnInt(2)),
                              static_cast<int32_t>(keys.columnInt(3)));
        rows_.insert(key, keys.columnInt(0));
    }
    if (step == SqliteStatement::Step::Done) return true;
    error = db_.errorText();
    return false;
}

// A new code is copied, as the record's text is reused for the next line.
SymbolWriter::Key SymbolWriter::keyOf(const QByteArray& code, int32_t number, int32_t value) {
    auto known = codes_.constFind(code);
    if (known == codes_.cend()) {
        codeTexts_.append(QByteArray(code.constData(), code.size()));
        known = codes_.insert(codeTexts_.last(), static_cast<int32_t>(codes_.size()));
    }
    return {known.value(), number, value};
}

QString SymbolWriter::lastCriteria() const {
    if (!last_) return {};
    return QStringLiteral("[Code] = %1 AND [Number] = %2 AND [Value] = %3")
        .arg(QString::fromLatin1(codeTexts_[last_->code]))
        .arg(last_->number)
        .arg(last_->value);
}

bool SymbolWriter::add(const SymbolRecord& record, QString& error) {
    const Key key = keyOf(record.code, record.number, record.value);
    const auto found = rows_.constFind(key);
    if (found != rows_.cend()) {
        rename_.bindText(1, record.name);
        rename_.bindInt(2, found.value());
        if (!run(rename_, error)) return false;
    } else {
        insert_.bindText(1, record.code);
        insert_.bindInt(2, record.number);
        insert_.bindInt(3, record.value);
        insert_.bindText(4, record.name);
        if (!run(insert_, error)) return false;
        rows_.insert(key, sqlite3_last_insert_rowid(db_.handle()));
    }
    last_ = key;
    return true;
}

// The engine's reason is taken before the reset, which starts the statement afresh.
bool SymbolWriter::run(SqliteStatement& statement, QString& error) {
    const bool ok = statement.step() == SqliteStatement::Step::Done;
    if (!ok) error = db_.errorText();
    statement.reset();
    return ok;
}

bool SymbolWriter::commit(QString& error) {
    insert_.finalize();
    rename_.finalize();
    if (!db_.exec(kSymbolIndexSql) || !db_.exec("COMMIT")) {
        error = db_.errorText();
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace zel::symbols
