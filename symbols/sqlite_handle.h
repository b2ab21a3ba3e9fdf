// Owning wrappers over the SQLite C API: a connection and its prepared statements. Errors come
// back as a false result with the engine's own text, never as an exception.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace zel::symbols {

class SqliteConnection {
public:
    SqliteConnection() = default;
    ~SqliteConnection() { close(); }
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Opens (creating) the file; on failure false, the engine's reason in `error`, nothing open.
    bool open(const QString& path, QString& error);
    // False when a statement is still unfinalised; the connection then stays open.
    bool close();
    bool isOpen() const { return db_ != nullptr; }
    // Runs one or more statements that return no rows.
    bool exec(const char* sql);
    QString errorText() const;
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

class SqliteStatement {
public:
    enum class Step { Row, Done, Error };

    SqliteStatement() = default;
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;

    bool prepare(const SqliteConnection& connection, const QByteArray& sql);
    bool isPrepared() const { return stmt_ != nullptr; }
    void finalize();

    // Parameters are numbered from 1; texts are UTF-8, must outlive the next step() and
    // must not be made with QByteArray::fromRawData, whose data need not end in a zero byte.
    void bindInt(int index, int64_t value);
    void bindText(int index, const QByteArray& utf8);
    Step step();
    // Ready to run again with new parameters.
    void reset();

    int64_t columnInt(int column) const;
    QByteArray columnText(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace zel::symbols
