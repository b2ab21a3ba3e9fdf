// The writes of one import into the Symbols table, all in one transaction. A record whose
// code, number and value are stored already replaces that record's name, so the table never
// holds two records for one code, number and value and the later line of a file wins.
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

#include "symbols/sqlite_handle.h"
#include "symbols/symbol_line.h"

namespace zel::symbols {

// The Symbols table's index. An import drops it and builds it again before it commits: one sort
// of every row costs less than placing each new row in the index as it comes.
inline constexpr char kSymbolIndexSql[] =
    "CREATE UNIQUE INDEX PrimaryKey ON Symbols (Code, Number, Value, Name);";
inline constexpr char kDropSymbolIndexSql[] = "DROP INDEX PrimaryKey;";

class SymbolWriter {
public:
    // Starts the transaction, drops the index and learns the keys already stored; null with
    // `error` on failure.
    static std::unique_ptr<SymbolWriter> begin(SqliteConnection& db, QString& error);
    // Rolls back unless committed.
    ~SymbolWriter();
    SymbolWriter(const SymbolWriter&) = delete;
    SymbolWriter& operator=(const SymbolWriter&) = delete;

    bool add(const SymbolRecord& record, QString& error);
    // Builds the index again and commits.
    bool commit(QString& error);
    // The search criteria of the record added last, as the import logs them; empty when
    // none was added.
    QString lastCriteria() const;

private:
    // The code by its place in codeTexts_: a file uses a handful of codes, so keys stay small.
    struct Key {
        int32_t code;
        int32_t number;
        int32_t value;
        bool operator==(const Key&) const = default;
        friend size_t qHash(const Key& key, size_t seed) {
            return qHashMulti(seed, key.code, key.number, key.value);
        }
    };

    explicit SymbolWriter(SqliteConnection& db) : db_(db) {}
    bool widenCache();
    bool prepare(QString& error);
    bool loadKeys(QString& error);
    Key keyOf(const QByteArray& code, int32_t number, int32_t value);
    bool run(SqliteStatement& statement, QString& error);

    SqliteConnection& db_;
    SqliteStatement insert_;
    SqliteStatement rename_;
    QHash<QByteArray, int32_t> codes_;
    QList<QByteArray> codeTexts_;  // by id
    QHash<Key, int64_t> rows_;     // row id of each stored key
    std::optional<Key> last_;
    std::optional<int64_t> cacheSize_;  // the connection's own, given back at the end
    bool committed_ = false;
};

}  // namespace zel::symbols
