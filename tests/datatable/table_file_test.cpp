// The data table file: its exact layout, the reader's rules for files that do not match their
// header, the headers it refuses, and a save that cannot leave half a file.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <vector>

#include "datatable/table_file.h"
#include "tests/support/file_bytes.h"

using namespace zel;
using test::readBytes;

namespace {

using Cells = std::vector<std::vector<int32_t>>;

// The table's size and values, row by row; an empty row list for a table of no columns.
struct Shape {
    int32_t rows;
    int32_t colCount;
    Cells cells;
    bool operator==(const Shape&) const = default;
};

Shape shapeOf(const DataTable& table) {
    Shape shape{table.TableRows, table.TableColCount, {}};
    for (int32_t row = 1; row <= table.TableRows && table.columns() > 0; ++row) {
        shape.cells.emplace_back();
        for (int32_t column = 1; column <= table.columns(); ++column)
            shape.cells.back().push_back(table.value(row, column));
    }
    return shape;
}

DataTable tableOf(const Cells& cells) {
    DataTable table;
    table.resize(static_cast<int32_t>(cells.size()), static_cast<int32_t>(cells.front().size()));
    for (size_t row = 0; row < cells.size(); ++row)
        for (size_t column = 0; column < cells[row].size(); ++column)
            table.setValue(static_cast<int32_t>(row + 1), static_cast<int32_t>(column + 1),
                           cells[row][column]);
    return table;
}

// What a reader must leave alone when it refuses a file.
DataTable earlierTable() {
    DataTable table = tableOf({{7, 8}});
    table.TableFileName = QStringLiteral("earlier.tab");
    return table;
}

const QByteArray kTwoByThree =
    "data_table[2][3] =\r\n"
    "{\r\n"
    "       1       2        3\r\n"
    "   65535       0       40\r\n"
    "}\r\n";

}  // namespace

TEST(TableFile, AHandWrittenFileInTheLayoutReadsAsWrittenAndWritesBackTheSame) {
    const QByteArray wide =
        "data_table[3][4] =\r\n"
        "{\r\n"
        "   12345       0    65535        7\r\n"
        "      -1 2147483647 -2147483648 100\r\n"
        "       0       0        0        0\r\n"
        "}\r\n";
    struct Case {
        QByteArray bytes;
        Shape shape;
    };
    const Case cases[] = {
        {kTwoByThree, {2, 4, {{1, 2, 3}, {65535, 0, 40}}}},
        {wide, {3, 5, {{12345, 0, 65535, 7}, {-1, 2147483647, -2147483648, 100}, {0, 0, 0, 0}}}},
    };
    for (const Case& c : cases) {
        DataTable table = earlierTable();
        QString error;
        ASSERT_TRUE(readTable(c.bytes, QStringLiteral("hand.tab"), table, error))
            << error.toStdString();
        EXPECT_EQ(shapeOf(table), c.shape) << c.bytes.constData();
        EXPECT_EQ(table.TableFileName, "earlier.tab");
        EXPECT_EQ(writeTable(table), c.bytes);
    }
}

TEST(TableFile, TheReaderFollowsItsLinesAndRefusesOnlyABadHeader) {
    struct Case {
        const char* label;
        QByteArray bytes;
        Shape shape;          // what the table becomes when the file reads
        const char* message;  // after "Cannot read data table file "t.tab", " when refused
    };
    const Case cases[] = {
        {"LF ends, tabs and loose blanks",
         "data_table[ 2 ][ 3 ] =\n{\n1\t2   3\n  65535 0 40  \n}\n",
         {2, 4, {{1, 2, 3}, {65535, 0, 40}}}, nullptr},
        {"signs and leading zeros", "data_table[1][3] =\r\n{\r\n+5 -0 007\r\n}\r\n",
         {1, 4, {{5, 0, 7}}}, nullptr},
        {"values outside 0..65535 are kept as read",
         "data_table[1][3] =\r\n{\r\n70000 -1 65536\r\n}\r\n", {1, 4, {{70000, -1, 65536}}},
         nullptr},
        {"fewer rows and values than the header", "data_table[3][3] =\r\n{\r\n1 2\r\n}\r\n",
         {3, 4, {{1, 2, 0}, {0, 0, 0}, {0, 0, 0}}}, nullptr},
        {"more rows and values than the header",
         "data_table[1][2] =\r\n{\r\n1 2 3 4\r\n5 6\r\n7 8\r\n}\r\n", {1, 3, {{1, 2}}}, nullptr},
        {"a field that is not a number ends its line",
         "data_table[2][3] =\r\n{\r\n1 x 3\r\n4 5 6}\r\n}\r\n", {2, 4, {{1, 0, 0}, {4, 5, 0}}},
         nullptr},
        {"a number past 32 bits ends its line",
         "data_table[1][3] =\r\n{\r\n1 2147483648 3\r\n}\r\n", {1, 4, {{1, 0, 0}}}, nullptr},
        {"without its brace line the first row stands where row 0 would",
         "data_table[2][1] =\r\n1\r\n2\r\n}\r\n", {2, 2, {{2}, {0}}}, nullptr},
        {"only a header, cut before its line end", "data_table[2][1] =", {2, 2, {{0}, {0}}},
         nullptr},
        {"a UTF-8 mark", "\xEF\xBB\xBF" "data_table[1][1] =\r\n{\r\n9\r\n}\r\n", {1, 2, {{9}}},
         nullptr},
        {"the most columns", "data_table[1][256] =\r\n", {1, 257, {std::vector<int32_t>(256)}},
         nullptr},
        {"no columns", "data_table[2][0] =\r\n{\r\n1 2\r\n}\r\n", {2, 0, {}}, nullptr},
        {"an empty file", "", {}, "line 1: there is no data_table[rows][columns] header."},
        {"rows first", "{\r\n1 2\r\n}\r\n", {},
         "line 1: there is no data_table[rows][columns] header."},
        {"another name", "table[2][3] =\r\n", {},
         "line 1: there is no data_table[rows][columns] header."},
        {"no row count", "data_table[][3] =\r\n", {},
         "line 1: there is no data_table[rows][columns] header."},
        {"a negative row count", "data_table[-2][3] =\r\n", {},
         "line 1: there is no data_table[rows][columns] header."},
        {"no column count", "data_table[2] =\r\n", {},
         "line 1: there is no data_table[rows][columns] header."},
        {"257 columns", "data_table[1][257] =\r\n{\r\n1\r\n}\r\n", {},
         "line 1: the table has more than 256 columns."},
        {"65536 rows", "data_table[65536][1] =\r\n", {},
         "line 1: the table has more than 65535 rows."},
        {"sizes past 64 bits", "data_table[99999999999999999999999][99999999999999999999] =",
         {}, "line 1: the table has more than 256 columns."},
    };
    for (const Case& c : cases) {
        DataTable table = earlierTable();
        QString error;
        const bool read = readTable(c.bytes, QStringLiteral("t.tab"), table, error);
        if (c.message == nullptr) {
            ASSERT_TRUE(read) << c.label << ": " << error.toStdString();
            EXPECT_EQ(shapeOf(table), c.shape) << c.label;
        } else {
            ASSERT_FALSE(read) << c.label;
            EXPECT_EQ(error, "Cannot read data table file \"t.tab\", " +
                                 QString::fromLatin1(c.message))
                << c.label;
            EXPECT_EQ(shapeOf(table), shapeOf(earlierTable())) << c.label;
        }
        EXPECT_EQ(table.TableFileName, "earlier.tab") << c.label;
    }
}

TEST(TableFile, ADeviceReadsInPiecesAndTheDemoTableReads) {
    // Rows past the 64 KiB a device is read in at a time, the row after the last one ignored.
    QByteArray bytes = "data_table[9000][2] =\r\n{\r\n";
    for (int row = 1; row <= 9000; ++row)
        bytes += "       " + QByteArray::number(row % 10) + "       5\r\n";
    bytes += "       4       4\r\n}\r\n";
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    DataTable table;
    QString error;
    ASSERT_TRUE(readTable(buffer, QStringLiteral("long.tab"), table, error))
        << error.toStdString();
    ASSERT_EQ(table.TableRows, 9000);
    EXPECT_EQ(table.value(8999, 1), 9);
    EXPECT_EQ(table.value(9000, 1), 0);
    EXPECT_EQ(table.value(9000, 2), 5);

    ASSERT_TRUE(ReadTableFile(QStringLiteral(ZELSIM_DEMO_TABLE), table, error))
        << error.toStdString();
    ASSERT_EQ(table.TableRows, 10);
    ASSERT_EQ(table.columns(), 8);
    EXPECT_EQ(table.value(1, 8), 70);
    EXPECT_EQ(table.value(10, 1), 65535);
    EXPECT_EQ(table.value(10, 3), 40000);
    EXPECT_EQ(writeTable(table), readBytes(QStringLiteral(ZELSIM_DEMO_TABLE)));
}

TEST(TableFile, ASaveThatFailsReportsAndLeavesTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("table.tab"));
    QString error;
    ASSERT_TRUE(WriteTableFile(path, tableOf({{1, 2, 3}, {65535, 0, 40}}), error))
        << error.toStdString();
    EXPECT_EQ(readBytes(path), kTwoByThree);

    // The temporary file's name taken by a folder: the new content cannot be written anywhere,
    // whoever runs the test.
    const QString temporary = path + QStringLiteral(".tmp-") + QString::number(::getpid());
    ASSERT_TRUE(QDir().mkdir(temporary));
    EXPECT_FALSE(WriteTableFile(path, tableOf({{9}}), error));
    EXPECT_EQ(error, "Cannot save data table file \"" + path +
                         "\": cannot create temporary file: Is a directory.");
    EXPECT_EQ(readBytes(path), kTwoByThree);

    DataTable table = earlierTable();
    const QString missing = dir.filePath(QStringLiteral("missing.tab"));
    EXPECT_FALSE(ReadTableFile(missing, table, error));
    EXPECT_EQ(error, "Cannot read data table file \"" + missing + "\": No such file or directory.");
    EXPECT_EQ(shapeOf(table), shapeOf(earlierTable()));
}
