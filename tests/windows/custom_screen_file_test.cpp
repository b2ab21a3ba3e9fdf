// The custom screen definition file: its exact layout, what the reader accepts, how it refuses
// a damaged file, and a save that cannot leave half a file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "tests/support/file_bytes.h"
#include "windows/custom_screen_file.h"

using namespace zel;
using test::readBytes;
using test::writeBytes;

namespace {

const QByteArray kNotSelectedLine = "\"Not Selected\" 0             1 \r\n";

CustomRows notSelectedRows() {
    CustomRows rows;
    rows.fill(CustomRow{QStringLiteral("Not Selected"), 0, 1});
    return rows;
}

// Rows a reader must leave alone when it refuses a file.
CustomRows earlierRows() {
    CustomRows rows;
    rows.fill(CustomRow{QStringLiteral("Register 7"), 6, 7});
    return rows;
}

}  // namespace

TEST(CustomScreenFile, AFileInThePrintZoneLayoutReadsAsWrittenAndWritesBackTheSame) {
    const QByteArray zoned = QByteArray(
                                 "\"Auto_mode\"    1             3 \r\n"
                                 "\"Start button pressed\"       2             1 \r\n"
                                 "\"Servo Fwdl Inp 65535\"       12            65535 \r\n"
                                 "\"Gr\xC3\xBC\xC3\x9F"
                                 "e\"        6             40000 \r\n") +
                             kNotSelectedLine.repeated(12);
    // The same rows as a person might type them: commas, LF ends, a Latin-1 label.
    const QByteArray loose = QByteArray(
                                 "  \"Auto_mode\",1,3\n"
                                 "\"Start button pressed\" ,  2 ,1\r\n"
                                 "\"Servo Fwdl Inp 65535\",12,65535\n"
                                 "\"Gr\xFC\xDF"
                                 "e\" 6 40000\n") +
                             QByteArray("\"Not Selected\",0,1\n").repeated(12);
    CustomRows expected = notSelectedRows();
    expected[0] = {QStringLiteral("Auto_mode"), 1, 3};
    expected[1] = {QStringLiteral("Start button pressed"), 2, 1};
    expected[2] = {QStringLiteral("Servo Fwdl Inp 65535"), 12, 65535};
    expected[3] = {QString::fromUtf8("Gr\u00FC\u00DFe"), 6, 40000};

    for (const QByteArray& bytes : {zoned, loose}) {
        CustomRows rows;
        QString error;
        ASSERT_TRUE(readCustomRows(bytes, QStringLiteral("hand.CFG"), rows, error))
            << error.toStdString();
        EXPECT_EQ(rows, expected);
    }
    EXPECT_EQ(writeCustomRows(expected), zoned);
}

TEST(CustomScreenFile, ADamagedFileIsRefusedWholeNamingTheLine) {
    const QByteArray rest = kNotSelectedLine.repeated(14);
    struct Case {
        const char* label;
        QByteArray bytes;
        const char* message;
    };
    const QString prefix = QStringLiteral("Cannot read custom screen file \"cfg/a.CFG\", ");
    const Case cases[] = {
        {"empty", QByteArray(), "line 1: the file ends there; a definition has 16 lines."},
        {"cut in the last line", kNotSelectedLine.repeated(15) + "\"Not Selected\" 0     ",
         "line 16: it has no line end; the file was cut short."},
        {"a seventeenth row", kNotSelectedLine.repeated(17),
         "line 17: there is text after the 16 rows."},
        {"kind 13", kNotSelectedLine + "\"Flag 1\" 13 1\r\n" + rest,
         "line 2: the kind \"13\" is not one of 0 to 12."},
        {"kind not a number", kNotSelectedLine + "\"Flag 1\" x 1\r\n" + rest,
         "line 2: the kind \"x\" is not one of 0 to 12."},
        {"number 0", kNotSelectedLine + "\"Flag 1\" 1 0\r\n" + rest,
         "line 2: the number \"0\" is not one of 1 to 65535."},
        {"number past 65535", kNotSelectedLine + "\"Flag 1\" 1 99999999999\r\n" + rest,
         "line 2: the number \"99999999999\" is not one of 1 to 65535."},
        {"quote inside the label", kNotSelectedLine + "\"Flag \"5\" 1 5\r\n" + rest,
         "line 2: the label holds a double quote."},
        {"unquoted label", kNotSelectedLine + "Flag 5, 1, 5\r\n" + rest,
         "line 2: the label does not start with a double quote."},
        {"unclosed label", kNotSelectedLine + "\"Flag 5 1 5\r\n" + rest,
         "line 2: the label has no closing double quote."},
        {"number missing", kNotSelectedLine + "\"Flag 5\" 1\r\n" + rest,
         "line 2: the kind or the number is missing."},
        {"a fourth field", kNotSelectedLine + "\"Flag 5\" 1 5 7\r\n" + rest,
         "line 2: there is text after the number."},
        {"binary bytes", kNotSelectedLine + QByteArray("\"Fl\0g\" 1 5\r\n", 12) + rest,
         "line 2: it holds binary bytes, not text."},
        {"a bare CR", kNotSelectedLine + "\"Flag\" 1 5\r\r\n" + rest,
         "line 2: it holds binary bytes, not text."},
    };
    for (const Case& c : cases) {
        CustomRows rows = earlierRows();
        QString error;
        EXPECT_FALSE(readCustomRows(c.bytes, QStringLiteral("cfg/a.CFG"), rows, error)) << c.label;
        EXPECT_EQ(error, prefix + QString::fromLatin1(c.message)) << c.label;
        EXPECT_EQ(rows, earlierRows()) << c.label;
    }
    CustomRows rows = earlierRows();
    QString error;
    EXPECT_FALSE(
        readCustomRows(QByteArray(64 * 1024 + 1, ' '), QStringLiteral("big.CFG"), rows, error));
    EXPECT_EQ(error, "Cannot read custom screen file \"big.CFG\": it is larger than 64 KiB.");
    EXPECT_EQ(rows, earlierRows());
}

TEST(CustomScreenFile, ASaveThatFailsReportsAndLeavesTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("screen.CFG"));
    CustomRows saved = notSelectedRows();
    saved[5] = {QStringLiteral("Batch_size"), 6, 2};
    QString error;
    ASSERT_TRUE(WriteCustomFile(path, saved, error)) << error.toStdString();
    CustomRows rows;
    ASSERT_TRUE(ReadCustomFile(path, rows, error)) << error.toStdString();
    EXPECT_EQ(rows, saved);
    const QByteArray before = readBytes(path);

    // The temporary file's name taken by a folder: the new content cannot be written anywhere,
    // whoever runs the test.
    const QString temporary = path + QStringLiteral(".tmp-") + QString::number(::getpid());
    ASSERT_TRUE(QDir().mkdir(temporary));
    EXPECT_FALSE(WriteCustomFile(path, notSelectedRows(), error));
    EXPECT_EQ(error, "Cannot save custom screen file \"" + path +
                         "\": cannot create temporary file: Is a directory.");
    EXPECT_EQ(readBytes(path), before);

    // A plain file where the folder should be.
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("blocker")), "not a folder"));
    const QString blocked = dir.filePath(QStringLiteral("blocker/screen.CFG"));
    EXPECT_FALSE(WriteCustomFile(blocked, notSelectedRows(), error));
    EXPECT_EQ(error, "Cannot save custom screen file \"" + blocked + "\": cannot create folder " +
                         dir.filePath(QStringLiteral("blocker")) + ".");

    rows = earlierRows();
    EXPECT_FALSE(ReadCustomFile(blocked, rows, error));
    EXPECT_EQ(error, "Cannot read custom screen file \"" + blocked + "\": Not a directory.");
    EXPECT_EQ(rows, earlierRows());
}
