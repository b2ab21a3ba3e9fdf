// The companion register file of a program transfer, driven through the transfer with the
// library's test double: what is read and written, frmFile's captions and floods, the retries
// and every failure message.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "link/fake/fake_zel_library.h"
#include "scripted_transfer_view.h"
#include "tests/support/file_bytes.h"
#include "tests/support/file_size_limit.h"
#include "transfer/program_transfer.h"

using namespace zel;
using zel::test::padded;

namespace {

class CompanionTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.LinkConfigured = true;
        lib.setError(210, QStringLiteral("No reply"));
    }
    // A companion file of registers 1 to `general` holding r + 100, then `extra`.
    void writeCompanion(int32_t general, const QByteArray& extra = {}) {
        QByteArray text = "Reg#          Value\r\n\r\n";
        for (int32_t r = 1; r <= general; ++r)
            text += QByteArray::number(r).leftJustified(14, ' ') + QByteArray::number(r + 100) + "\r\n";
        ASSERT_TRUE(test::writeBytes(companion, text + extra));
    }
    QStringList lines() const {
        QString text = QString::fromLatin1(test::readBytes(companion));
        text.chop(2);
        return text.split("\r\n");
    }
    void download() {
        ASSERT_TRUE(test::writeBytes(program, {}));
        view.files = {program};
        transfer.DownloadProgram();
    }
    void upload() {
        view.files = {program};
        transfer.UploadProgram();
    }
    // The registers written, in order.
    QList<int32_t> written() const {
        QList<int32_t> numbers;
        for (const QString& call : lib.callsTo(ZelCall::PutRegister))
            numbers << call.section(", ", 1, 1).toInt();
        return numbers;
    }

    QTemporaryDir dir;
    const QString program = dir.filePath("LINE1.DSO");
    const QString companion = dir.filePath("LINE1.txt");
    AppState state;
    FakeZelLibrary lib;
    test::ScriptedTransferView view;
    ProgramTransfer transfer{state, lib, view};
};

}  // namespace

// Entries 1 to 500 are read but not written; a failed write goes on in the first phase and ends
// the second; "*" is left alone; the program is downloaded afterwards.
TEST_F(CompanionTest, DownloadWritesFrom501AndStopsTheSecondPhaseAtAFailedWrite) {
    writeCompanion(1000, "32001         7\r\n32002         *\r\n32003         9\r\n"
                         "32004         10\r\n32005         11\r\n");
    lib.setResponder(ZelCall::PutRegister, [](const QVector<int32_t>& a) {
        return a[1] == 600 || a[1] == 32004 ? 0 : 1;
    });
    download();
    const QList<int32_t> numbers = written();
    ASSERT_EQ(numbers.size(), 503);
    EXPECT_EQ(numbers.first(), 501);
    EXPECT_EQ(numbers.mid(500), QList<int32_t>({32001, 32003, 32004}));
    EXPECT_EQ(lib.calls().first(), "ZlPutStatus(7, 0)");
    EXPECT_EQ(lib.callOrder().mid(504), QList({ZelCall::Download, ZelCall::CloseConnection}));
    EXPECT_EQ(lib.registerValue(1000), 1100);
    EXPECT_EQ(view.floods.front(), 0);
    EXPECT_EQ(view.floods.back(), 100);
    const QStringList expectedCaptions = {
        "frmFile shown: Downloading Register Values...",
        "frmFile: Downloading Registers 501 to 1000...",
        "frmFile: Downloading Register# 1000", "frmFile: Downloading Register# 32001",
        "frmFile: Downloading Register# 32002", "frmFile: Downloading Register# 32003",
        "frmFile unloaded"};
    QStringList captions;
    for (const QString& entry : view.log)
        if (entry.startsWith("frmFile")) captions << entry;
    EXPECT_EQ(captions, expectedCaptions);
    const qsizetype end = view.log.indexOf("frmFile unloaded");
    EXPECT_EQ(view.log.value(end - 1),
              "status: Register# 32003 downloaded!\r\nRegister write completed.");
    EXPECT_EQ(view.log.value(end + 1), "status:  Registers Downloaded: 501");
}

// Each way the companion download ends early; the program download goes on regardless.
TEST_F(CompanionTest, DownloadFailuresAndTheAbsentOrDeclinedFile) {
    const struct {
        const char* name;
        int32_t entries;  // -1: no companion file
        bool answer;
        int32_t stopResult;
        int writes;
        QStringList shown;  // what the user sees before the program's own lines
    } cases[] = {
        {"no companion file", -1, true, 1, 0, {}},
        {"declined", 1000, false, 1, 0, {"yes/no: Download Non-Volatile Registers?"}},
        {"stop refused", 1000, true, 0, 0,
         {"yes/no: Download Non-Volatile Registers?", "frmFile unloaded",
          "box: Failed to Download Register Values!"}},
        {"fewer than 1000 entries", 999, true, 1, 499,
         {"yes/no: Download Non-Volatile Registers?",
          "frmFile shown: Downloading Register Values...",
          "frmFile: Downloading Registers 501 to 1000...", "frmFile unloaded",
          "box: Failed to Download Register Values!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(companion);
        if (c.entries >= 0) writeCompanion(c.entries);
        view.log.clear();
        lib.clearCalls();
        view.yesAnswers = {c.answer};
        lib.setDefaultResult(ZelCall::PutStatus, c.stopResult);
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        download();
        QStringList shown;
        for (const QString& entry : view.log)
            if (!entry.startsWith("status: Register#") && !entry.startsWith("dialog:")) shown << entry;
        EXPECT_EQ(shown.mid(0, c.shown.size()), c.shown);
        EXPECT_EQ(shown.value(c.shown.size()), "status: Downloading " + program);
        EXPECT_EQ(written().size(), c.writes);
        EXPECT_TRUE(lib.callOrder().contains(ZelCall::Download));
        EXPECT_FALSE(view.busy);
    }
}

// The layout switch and the bank test decide the lines; frmFile follows the blocks and banks.
TEST_F(CompanionTest, UploadLayoutsAndBankCount) {
    const struct {
        const char* name;
        int32_t layout;
        int32_t modelRegister;  // register 13008
        bool bankZeroReadable;
        int lines;
        int banks;
    } cases[] = {
        {"eight banks", 1, 14, true, 9002, 8},
        {"four banks", 1, 13, true, 5002, 4},
        {"no bank", 1, 13, false, 1002, 0},
        {"simple layout", 0, 14, true, 1002, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(companion);
        view.log.clear();
        view.floods.clear();
        lib.clearCalls();
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        lib.setModel(14, c.layout);
        for (int32_t r = 1; r <= 1000; ++r) lib.setRegister(r, r + 100);
        lib.setRegister(32001, 7);
        lib.setRegister(40000, -4);
        lib.setRegister(13008, c.modelRegister);
        const bool readable = c.bankZeroReadable;
        // Bank 0's first register only, or the 16th-from-last general register in the simple
        // layout, fails to read on its own.
        lib.setResponder(ZelCall::GetRegister, [readable](const QVector<int32_t>& a) {
            return (a[1] == 32001 && !readable) || a[1] == 985 ? 0 : 1;
        });
        upload();
        const QStringList l = lines();
        ASSERT_EQ(l.size(), c.lines);
        EXPECT_EQ(l[0], "Reg#          Value");
        EXPECT_EQ(l[1], "");
        if (c.layout == 0) {
            EXPECT_EQ(l[2], " 1             101 ");
            EXPECT_EQ(l[986], " 985          *");
            EXPECT_EQ(view.floods.back(), 100);
        } else {
            EXPECT_EQ(l[2], "1             101");
            EXPECT_EQ(l[986], "985           1085");
            EXPECT_EQ(view.floods.size(), 20u + 64u * c.banks + (c.banks == 0 ? 1 : 0));
            EXPECT_EQ(view.floods[19], 100);
        }
        if (c.banks > 0) {
            EXPECT_EQ(l[1002], "32001         7");
        }
        if (c.banks == 8) {
            EXPECT_EQ(l.last(), "40000         -4");
            EXPECT_TRUE(view.log.contains("status: NVRAM Regs 39001 to 40000"));
            EXPECT_TRUE(view.log.contains("frmFile: Uploading Registers 39001 to 40000 ..."));
        }
        const qsizetype end = view.log.indexOf("frmFile unloaded");
        EXPECT_EQ(view.log.mid(end),
                  QStringList({"frmFile unloaded", "box: Register upload completed!", "status: ",
                               "info: Program uploaded to " + program}));
    }
}

// One retry count serves the 20 blocks; each bank chunk has its own. The fourth failure, or a
// declined overwrite, is reported with the library's text and the program upload still ends.
TEST_F(CompanionTest, UploadRetriesAndAbandons) {
    const struct {
        const char* name;
        QList<int32_t> failingBlockCalls;  // 1-based ZlGetRegister50 calls that fail
        QList<int32_t> failingChunkCalls;  // the same for ZlGetRegister16
        bool overwrite;                    // an old companion file; the answer
        bool completes;
    } cases[] = {
        {"three block failures in all", {1, 5, 9}, {}, true, true},
        {"the fourth block failure", {1, 5, 9, 13}, {}, true, false},
        {"three failures in each chunk", {}, {1, 2, 3, 5, 6, 7}, true, true},
        {"four failures in one chunk", {}, {1, 2, 3, 4}, true, false},
        {"overwrite declined", {}, {}, false, false},
    };
    lib.setModel(14, 1);
    lib.setRegister(13008, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeCompanion(0);
        view.log.clear();
        view.yesAnswers = {true, c.overwrite};
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        int blockCalls = 0, chunkCalls = 0;
        lib.setResponder(ZelCall::GetRegister50, [&](const QVector<int32_t>&) {
            return c.failingBlockCalls.contains(++blockCalls) ? 0 : 1;
        });
        lib.setResponder(ZelCall::GetRegister16, [&](const QVector<int32_t>&) {
            return c.failingChunkCalls.contains(++chunkCalls) ? 0 : 1;
        });
        upload();
        const QString outcome = c.completes ? QStringLiteral("box: Register upload completed!")
                                            : "box!: Failed to upload register values!\nError: " +
                                                  padded("No reply");
        EXPECT_TRUE(view.log.contains(outcome)) << view.log.join('|').toStdString();
        EXPECT_EQ(view.log.last(), "info: Program uploaded to " + program);
        if (c.completes) {
            EXPECT_EQ(lines().size(), 5002);
        }
        if (!c.overwrite) {
            EXPECT_EQ(lines().size(), 2);  // the old file as it was
        }
        EXPECT_FALSE(view.busy);
    }
}

// A disk that takes only the first kilobyte cuts the file: the reason is reported, not a
// completed upload, in both layouts.
TEST_F(CompanionTest, AFullDiskIsReportedNotCompleted) {
    for (const int32_t layout : {0, 1}) {
        SCOPED_TRACE(layout);
        QFile::remove(companion);
        view.log.clear();
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        lib.setModel(14, layout);
        {
            const test::FileSizeLimit fullDisk(1024);
            upload();
        }
        EXPECT_TRUE(view.log.contains("box!: Failed to upload register values! Cannot write " +
                                      companion + ": File too large"))
            << view.log.join('|').toStdString();
        EXPECT_FALSE(view.log.contains("box: Register upload completed!"));
        EXPECT_EQ(view.log.last(), "info: Program uploaded to " + program);
        EXPECT_FALSE(view.busy);
    }
}
