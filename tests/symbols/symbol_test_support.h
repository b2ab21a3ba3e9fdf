// Shared by the symbol tests: files in a temporary folder, the database read back through
// SQLite directly, and readable QString output.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <ostream>

#include "symbols/symbol_database.h"
#include "tests/support/file_bytes.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// The rows a query gives, each as its columns joined by '|', through a connection of its own.
inline QStringList queryRows(const QString& databaseFile, const char* sql) {
    QStringList rows;
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(databaseFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK)
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    while (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList columns;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            columns << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
        rows << columns.join(u'|');
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

// Every record of the Symbols table in key order.
inline QStringList tableRows(const QString& databaseFile) {
    return queryRows(databaseFile,
                     "SELECT Code, Number, Value, Name FROM Symbols ORDER BY 1, 2, 3");
}

// A fresh folder for symbol files and databases, and a database whose symbol file is set.
class SymbolTest : public ::testing::Test {
protected:
    QString writeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(zel::test::writeBytes(path, bytes));
        return path;
    }

    QTemporaryDir dir;
    QString base = dir.filePath(QStringLiteral("run"));
    zel::FileSettings files{{}, {}, {}, QStringLiteral("in-use.SYM")};
    zel::symbols::SymbolDatabase db{files, base};
};
