#include "symbols/sqlite_handle.h"

#include <sqlite3.h>

#include <utility>

namespace zel::symbols {

namespace {

// SQLite counts every allocation under one process-wide lock, for statistics nothing here reads;
// an import allocates a few times per row. The count can only be turned off before SQLite starts,
// which the first open does; later calls are refused and change nothing.
void stopAllocationCount() {
    static const bool stopped = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)stopped;
}

}  // namespace

bool SqliteConnection::open(const QString& path, QString& error) {
    stopAllocationCount();
    close();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) == SQLITE_OK) return true;
    // A failed open still hands back a connection that carries the reason and must be closed.
    error = errorText();
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
}

bool SqliteConnection::close() {
    if (db_ == nullptr) return true;
    if (sqlite3_close(db_) != SQLITE_OK) return false;
    db_ = nullptr;
    return true;
}

bool SqliteConnection::exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString SqliteConnection::errorText() const {
    return db_ != nullptr ? QString::fromUtf8(sqlite3_errmsg(db_))
                          : QStringLiteral("the database is not open");
}

SqliteStatement::~SqliteStatement() {
    finalize();
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        finalize();
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

bool SqliteStatement::prepare(const SqliteConnection& connection, const QByteArray& sql) {
    finalize();
    return sqlite3_prepare_v3(connection.handle(), sql.constData(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) == SQLITE_OK;
}

void SqliteStatement::finalize() {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

void SqliteStatement::bindInt(int index, int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}

// A text bound with its length is not marked as ending in a zero byte, so every SQL function
// that reads it (the length checks of the Symbols table) first copies it to add one. Bound as
// zero-terminated, which a QByteArray of its own is, it is read in place; a text holding a zero
// byte keeps its length so that nothing after that byte is lost.
void SqliteStatement::bindText(int index, const QByteArray& utf8) {
    const int length = utf8.contains('\0') ? static_cast<int>(utf8.size()) : -1;
    sqlite3_bind_text(stmt_, index, utf8.constData(), length, SQLITE_STATIC);
}

SqliteStatement::Step SqliteStatement::step() {
    switch (sqlite3_step(stmt_)) {
        case SQLITE_ROW:
            return Step::Row;
        case SQLITE_DONE:
            return Step::Done;
        default:
            return Step::Error;
    }
}

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int64_t SqliteStatement::columnInt(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

QByteArray SqliteStatement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QByteArray(text, sqlite3_column_bytes(stmt_, column));
}

}  // namespace zel::symbols
