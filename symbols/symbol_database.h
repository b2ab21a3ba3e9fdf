// The symbol database: SYMBOL.MDB with its table Symbols ("Code", "Number", "Value", "Name")
// and unique index "PrimaryKey", rebuilt from a symbol file whenever one is imported and
// deleted, with its folder, when it is closed. After OpenSymbolQueries it answers the windows'
// name lookups through nine result sets, one per kind of resource.
//
// SQLite through its C API: the import runs prepared statements in one transaction with no
// per-row wrapping, and no connection registry is shared across the process, so any number
// of databases can live side by side.
#pragma once

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "common/app_state.h"
#include "symbols/database_folder.h"
#include "symbols/sqlite_handle.h"
#include "symbols/symbol_line.h"
#include "common/symbol_lookup.h"

namespace zel::symbols {

class SymbolWriter;

inline constexpr char kDatabaseFileName[] = "SYMBOL.MDB";

// The result sets in the order they are opened.
inline constexpr std::array<SymbolCode, 9> kResultSetCodes = {
    SymbolCode::AnalogInput, SymbolCode::AnalogOutput, SymbolCode::Register,
    SymbolCode::Flag,        SymbolCode::DigitalInput, SymbolCode::NvRegister,
    SymbolCode::Servo,       SymbolCode::Step,         SymbolCode::DigitalOutput,
};

// A symbol of one of the result sets' kinds: its kind, resource number and value.
struct SymbolEntry {
    SymbolCode code;
    int32_t number = 0;
    int32_t value = 0;
};

inline constexpr int32_t kOnColour = 32768;  // green
inline constexpr int32_t kOffColour = 255;   // red

class SymbolDatabase final : public SymbolLookup {
public:
    // Names are looked up only while `files.SymbolFileName` is not empty. `baseFolder` is
    // where the database's own folder goes (see DatabaseFolder).
    explicit SymbolDatabase(const FileSettings& files, const QString& baseFolder = {});
    ~SymbolDatabase() override;
    SymbolDatabase(const SymbolDatabase&) = delete;
    SymbolDatabase& operator=(const SymbolDatabase&) = delete;

    // The statements that make the empty table and its index.
    static const char* schemaSql();

    // Deletes this database's files, then makes a new empty one. False, with errorText()
    // and nothing left behind, on failure.
    bool CreateSymbolDatabase();
    // Opens the nine result sets, each time keeping its query text in SymbolCriteria.
    void OpenSymbolQueries();
    // Closes everything and deletes the files and the folder. True when nothing was open.
    bool CloseSymbolDatabase();

    bool isOpen() const { return db_.isOpen(); }
    QString filePath() const;  // empty while no database exists
    QString folderPath() const { return folder_.path(); }
    QString SymbolCriteria() const { return criteria_; }
    QString errorText() const { return error_; }

    // An import's writes (see SymbolWriter). Once the database is closed, and so also when it
    // is closed in the middle of an import, addSymbol fails.
    bool beginImport();
    bool addSymbol(const SymbolRecord& record);
    bool commitImport();
    void rollbackImport();

    bool active() const override { return !files_.SymbolFileName.isEmpty(); }
    QString name(SymbolCode code, int32_t number) override;
    SymbolDisplay InputSymbol(int32_t number, int32_t state) override;
    SymbolDisplay OutputSymbol(int32_t number, int32_t state) override;
    // Every symbol of that name, by kind code, number and value; none while no symbol file is
    // in use.
    std::vector<SymbolEntry> symbolsNamed(const QString& name);

private:
    bool createFile();
    bool fail(const QString& reason);
    bool closeConnection();
    void deleteOldFiles() const;
    std::optional<QString> findName(SymbolCode code, int32_t number, std::optional<int32_t> value);
    std::optional<QString> findStateName(SymbolCode code, int32_t number, int32_t value);

    const FileSettings& files_;
    DatabaseFolder folder_;
    SqliteConnection db_;
    std::unique_ptr<SymbolWriter> writer_;
    std::array<SqliteStatement, kResultSetCodes.size()> queries_;
    SqliteStatement byName_;
    QString criteria_;
    QString error_;
};

}  // namespace zel::symbols
