#include <QBuffer>

#include <vector>

#include "symbols/import_progress.h"
#include "symbols/symbol_import.h"
#include "symbol_test_support.h"

using namespace zel;
using namespace zel::symbols;

namespace {

class SymbolImportTest : public SymbolTest {
protected:
    void SetUp() override { ASSERT_TRUE(db.CreateSymbolDatabase()); }

    ImportResult importBytes(const QByteArray& bytes) {
        return importSymbolFile(writeFile(QStringLiteral("file.SYM"), bytes), db, progress);
    }
    QStringList rows() { return tableRows(db.filePath()); }

    ImportProgress progress;
};

TEST_F(SymbolImportTest, ALaterLineWithTheSameCodeNumberAndValueRenames) {
    const ImportResult result = importBytes(
        "8 17 0 Old_name\n8 17 1 Other_value\n64 17 0 Other_code\n8 17 0 New_name\n"
        "08 17.0 0 Newest_name\n");
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.stored, 5);
    EXPECT_EQ(rows(),
              QStringList({"64|17|0|Other_code", "8|17|0|Newest_name", "8|17|1|Other_value"}));
}

TEST_F(SymbolImportTest, LongNamesAreStoredAsTheirFirstFortyCharacters) {
    const QByteArray name45 = "Conveyor_belt_2_motor_overload_alarm_latched";  // 44
    const ImportResult result = importBytes("8 1 0 " + name45 + "X\n8 2 0 " + QByteArray(500, 'L') +
                                            "\n8 3 0 " + QByteArray(40, 'n') + "\n");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.cut, 2) << "exactly forty is not cut";
    EXPECT_EQ(rows(), QStringList({"8|1|0|" + QString::fromLatin1(name45.left(40)),
                                   "8|2|0|" + QString(40, u'L'), "8|3|0|" + QString(40, u'n')}));
}

// A byte order mark, CRLF and LF lines mixed, blank lines, a header, a last line without a feed.
TEST_F(SymbolImportTest, OddButTextualFilesAreTakenAsFarAsTheyGo) {
    const ImportResult result = importBytes(
        "\xEF\xBB\xBF"
        "8 1 0 AfterMark\r\n\n   \r\nSymbol table of PUMP.PRG\r\n8 2 0\n8 3 0 NoLineFeed");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.lines, 6);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(rows(), QStringList({"0|0|0|PUMP.PRG", "8|1|0|AfterMark", "8|3|0|NoLineFeed"}));
}

TEST_F(SymbolImportTest, AnEmptyFileGivesAnEmptyTable) {
    const ImportResult result = importBytes({});
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.lines, 0);
    EXPECT_TRUE(rows().isEmpty());
}

struct DamagedFile {
    const char* label;
    QByteArray bytes;
    std::vector<qint64> unreadable;
    QStringList rows;
};

class DamagedSymbolFile : public SymbolImportTest,
                          public ::testing::WithParamInterface<DamagedFile> {};

// A line holding a zero byte or longer than 64 KiB is passed over by number; the lines around
// it are stored.
TEST_P(DamagedSymbolFile, KeepsItsReadableLines) {
    const ImportResult result = importBytes(GetParam().bytes);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.unreadable, GetParam().unreadable);
    EXPECT_EQ(rows(), GetParam().rows);
    EXPECT_FALSE(progress.isShown());
}

// 64 KiB exactly is still a line.
const QByteArray kLongestName = "8 4 0 " + QByteArray(65536 - 6, 'n');

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSymbolFile,
    ::testing::Values(
        DamagedFile{"ZeroBytes",
                    QByteArray("8 1 0 Good\n8 2 0 Bad\0name\n8 3 0 After\n\0\n", 40),
                    {2, 4},
                    {"8|1|0|Good", "8|3|0|After"}},
        DamagedFile{"LongLineOverManyBlocks",
                    "8 1 0 Good\n" + QByteArray(300 * 1024, 'x') + "\n8 3 0 After",
                    {2},
                    {"8|1|0|Good", "8|3|0|After"}},
        DamagedFile{"LongLastLine", "8 1 0 Good\n" + QByteArray(65537, 'x'), {2}, {"8|1|0|Good"}},
        DamagedFile{"LongestReadableLine",
                    kLongestName + "\n8 5 0 Next\n",
                    {},
                    {"8|4|0|" + QString(40, u'n'), "8|5|0|Next"}},
        DamagedFile{"Utf16",
                    QByteArray("\xff\xfe"
                               "8\0 \0"
                               "1\0",
                               8),
                    {1},
                    {}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SymbolImportTest, AFileThatCannotBeOpenedSaysSo) {
    for (const QString& path : {dir.filePath("missing.SYM"), dir.path()}) {
        const ImportResult result = importSymbolFile(path, db, progress);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.startsWith(QLatin1String("cannot open it: ")))
            << result.error.toStdString();
    }
}

// The percentage follows the file; with a clock that moves 1 ms per look, 2,000 lines repaint
// about every 50 lines, not every line.
TEST_F(SymbolImportTest, ProgressFollowsTheFileAtABoundedRepaintRate) {
    int pumps = 0;
    ImportProgress timed([&pumps] { ++pumps; }, [tick = qint64{0}]() mutable { return ++tick; });
    std::vector<int> shown;
    QObject::connect(&timed, &ImportProgress::changed, [&] { shown.push_back(timed.percent()); });
    QByteArray text;
    for (int i = 0; i < 2000; ++i) text += "8 " + QByteArray::number(i) + " 0 N\n";
    ASSERT_TRUE(importSymbolFile(writeFile(QStringLiteral("f.SYM"), text), db, timed).ok);

    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    EXPECT_EQ(shown.back(), 100);
    EXPECT_EQ(timed.caption(), QStringLiteral(" 100% of symbol file processed ... please wait."));
    EXPECT_GE(pumps, 2000 / 60);
    EXPECT_LE(pumps, 2000 / 40);
    EXPECT_FALSE(timed.isShown());
}

}  // namespace
