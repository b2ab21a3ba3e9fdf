#include <QBuffer>
#include <QDir>
#include <QFileInfo>

#include <memory>

#include <sys/wait.h>
#include <unistd.h>

#include "symbols/import_progress.h"
#include "symbols/symbol_import.h"
#include "symbol_test_support.h"

using namespace zel;
using namespace zel::symbols;

namespace {

class SymbolDatabaseTest : public SymbolTest {
protected:
    // A database holding the file's symbols, its result sets open.
    void load(const QByteArray& text) {
        ASSERT_TRUE(db.CreateSymbolDatabase()) << db.errorText().toStdString();
        QBuffer buffer;
        buffer.setData(text);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        ImportProgress progress;
        ASSERT_TRUE(importSymbols(buffer, db, progress).ok);
        db.OpenSymbolQueries();
    }
};

// The folder is named by the process, so the next monitor can tell whether its owner still runs;
// two databases in one process keep apart.
TEST_F(SymbolDatabaseTest, CreateMakesAFolderOfItsOwnAndCloseDeletesIt) {
    ASSERT_TRUE(db.CreateSymbolDatabase());
    const QString folder = db.folderPath();
    EXPECT_TRUE(
        QFileInfo(folder).fileName().startsWith(QStringLiteral("zelmon-%1-").arg(::getpid())));
    EXPECT_EQ(QFileInfo(folder).absolutePath(), base);

    auto other = std::make_unique<SymbolDatabase>(files, base);
    ASSERT_TRUE(other->CreateSymbolDatabase());
    const QString otherFolder = other->folderPath();
    EXPECT_NE(otherFolder, folder);
    other.reset();
    EXPECT_FALSE(QFileInfo::exists(otherFolder)) << "destroying the object closes it";
    ASSERT_TRUE(QFileInfo::exists(db.filePath()));

    EXPECT_TRUE(db.CloseSymbolDatabase());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(db.isOpen());
    EXPECT_TRUE(db.filePath().isEmpty());
    EXPECT_TRUE(db.CloseSymbolDatabase()) << "closing twice is harmless";
}

TEST_F(SymbolDatabaseTest, CreateAgainStartsFromAnEmptyTable) {
    load("8 1 0 First\n");
    ASSERT_TRUE(db.CreateSymbolDatabase());
    EXPECT_TRUE(tableRows(db.filePath()).isEmpty());
    EXPECT_EQ(QDir(db.folderPath()).entryList(QDir::Files), QStringList{"SYMBOL.MDB"});
}

// A killed monitor leaves its folder; the next one removes it, but never a running one's.
TEST_F(SymbolDatabaseTest, FoldersOfEndedMonitorsAreRemoved) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const QString ended = base + QStringLiteral("/zelmon-%1-AbCdEf").arg(child);
    const QString running = base + QStringLiteral("/zelmon-%1-AbCdEf").arg(::getppid());
    // Names that only look like a monitor's folder belong to someone else.
    const QString noDash = base + QStringLiteral("/zelmon-%1").arg(child);
    const QString notNumber = base + QStringLiteral("/zelmon-x%1-AbCdEf").arg(child);
    ASSERT_TRUE(QDir().mkpath(ended) && QDir().mkpath(running) && QDir().mkpath(noDash) &&
                QDir().mkpath(notNumber));
    writeFile(QStringLiteral("run/zelmon-%1-AbCdEf/SYMBOL.MDB").arg(child), "old");

    ASSERT_TRUE(db.CreateSymbolDatabase());
    EXPECT_FALSE(QFileInfo::exists(ended));
    EXPECT_TRUE(QFileInfo::exists(running));
    EXPECT_TRUE(QFileInfo::exists(noDash));
    EXPECT_TRUE(QFileInfo::exists(notNumber));
}

TEST_F(SymbolDatabaseTest, NamesAreFoundByNumberInTheirKindsResultSet) {
    load(
        "8 17 0 Pump_speed\n1024 17 0 Total_count\n8192 3 0 Wait_for_start\n"
        "131072 5 1 Valve_open\n131072 5 0 Valve_shut\n");
    EXPECT_EQ(db.name(SymbolCode::Register, 17), QStringLiteral("Pump_speed"));
    EXPECT_EQ(db.name(SymbolCode::NvRegister, 17), QStringLiteral("Total_count"));
    EXPECT_EQ(db.name(SymbolCode::Step, 3), QStringLiteral("Wait_for_start"));
    EXPECT_EQ(db.name(SymbolCode::Flag, 17), QString());
    for (const SymbolCode code : kResultSetCodes)
        EXPECT_EQ(db.name(code, 18), QString()) << "codes 0 and 16 are read by no result set";
    EXPECT_EQ(db.name(SymbolCode::DigitalOutput, 5), QStringLiteral("Valve_shut"))
        << "by number alone the lowest value comes first";

    files.SymbolFileName.clear();
    EXPECT_FALSE(db.active());
    EXPECT_EQ(db.name(SymbolCode::Register, 17), QString());
}

struct StateCase {
    bool output;
    int32_t state;
    QString withSymbols;
    QString withoutSymbols;
    QString stateText;
    int32_t colour;
};

TEST_F(SymbolDatabaseTest, DigitalStatesShowTheirSymbolOrTheDefaultName) {
    load("128 5 0 Door_closed\n128 5 1 Door_open\n131072 5 1 Lamp_lit\n131072 5 0 Lamp_dark\n");
    const StateCase cases[] = {
        {false, 1, "Door_closed", "in_5A", "On", 32768},
        {false, 0, "Door_open", "in_5B", "Off", 255},
        {true, 1, "Lamp_lit", "OUT_5_ON", "On", 32768},
        {true, 0, "Lamp_dark", "OUT_5_OFF", "Off", 255},
        {true, 7, "Lamp_dark", "OUT_5_OFF", "Off", 255},
    };
    for (const StateCase& c : cases) {
        for (const bool symbols : {true, false}) {
            files.SymbolFileName = symbols ? QStringLiteral("in-use.SYM") : QString();
            const SymbolDisplay d =
                c.output ? db.OutputSymbol(5, c.state) : db.InputSymbol(5, c.state);
            EXPECT_EQ(d.name, symbols ? c.withSymbols : c.withoutSymbols);
            EXPECT_EQ(d.state, c.stateText);
            EXPECT_EQ(d.colour, c.colour);
        }
    }
    files.SymbolFileName = QStringLiteral("in-use.SYM");
    EXPECT_EQ(db.InputSymbol(6, 1).name, QStringLiteral("in_6A")) << "no symbol for input 6";
    EXPECT_EQ(db.OutputSymbol(-2, 1).name, QStringLiteral("OUT_-2_ON"));
    const SymbolDisplay odd = db.InputSymbol(5, 2);
    EXPECT_TRUE(odd.name.isEmpty() && odd.state.isEmpty());
    EXPECT_EQ(odd.colour, 0);
}

TEST_F(SymbolDatabaseTest, WithoutResultSetsLookupsFallBackToDefaults) {
    db.OpenSymbolQueries();
    EXPECT_EQ(db.name(SymbolCode::Register, 1), QString());
    EXPECT_EQ(db.InputSymbol(5, 1).name, QStringLiteral("in_5A"));
    ASSERT_TRUE(db.CreateSymbolDatabase());
    EXPECT_EQ(db.OutputSymbol(5, 0).name, QStringLiteral("OUT_5_OFF"));
}

}  // namespace
