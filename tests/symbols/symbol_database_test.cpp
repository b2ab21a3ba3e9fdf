#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "symbol_test_support.h"
#include "symbols/import_progress.h"
#include "symbols/symbol_import.h"

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
    EXPECT_EQ(QDir(db.folderPath()).entryList(QDir::Files),
              QStringList({"owner.lock", "SYMBOL.MDB"}));
}

// A killed monitor leaves its folder with a lock that nobody holds; the next monitor removes it.
// A held lock means a running monitor, whatever process id the name gives (it may run in
// another PID namespace sharing the runtime folder), and a folder without a lock file is left
// alone. The process ids named here are above any Linux hands out.
TEST_F(SymbolDatabaseTest, OnlyFoldersWhoseLockIsFreeAreRemoved) {
    const QString ended = base + QStringLiteral("/zelmon-4194305-AbCdEf");
    const QString running = base + QStringLiteral("/zelmon-4194306-AbCdEf");
    const QString unlocked = base + QStringLiteral("/zelmon-4194307-AbCdEf");
    for (const QString& folder : {ended, running, unlocked}) ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(QStringLiteral("run/zelmon-4194305-AbCdEf/owner.lock"), {});
    writeFile(QStringLiteral("run/zelmon-4194305-AbCdEf/SYMBOL.MDB"), "old");
    writeFile(QStringLiteral("run/zelmon-4194306-AbCdEf/owner.lock"), {});

    // Another process holds the running folder's lock until this one closes `release`.
    int held[2], release[2];
    ASSERT_EQ(::pipe(held), 0);
    ASSERT_EQ(::pipe(release), 0);
    const QByteArray lockFile = QFile::encodeName(running + QStringLiteral("/owner.lock"));
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::close(release[1]);
        const int fd = ::open(lockFile.constData(), O_RDWR);
        const char locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (::write(held[1], &locked, 1) == 1) {
            char byte;
            while (::read(release[0], &byte, 1) > 0) {
            }
        }
        ::_exit(0);
    }
    ::close(held[1]);
    ::close(release[0]);
    char locked = 0;
    const bool holding = ::read(held[0], &locked, 1) == 1 && locked;

    const bool created = db.CreateSymbolDatabase();
    const bool runningKept = QFileInfo::exists(running);
    ::close(release[1]);
    ::close(held[0]);
    ::waitpid(holder, nullptr, 0);
    ASSERT_TRUE(holding);
    ASSERT_TRUE(created);
    EXPECT_FALSE(QFileInfo::exists(ended));
    EXPECT_TRUE(runningKept);
    EXPECT_TRUE(QFileInfo::exists(unlocked));
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
