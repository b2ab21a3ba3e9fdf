// The program transfer sequences with the library's test double: what the user is asked and
// shown, which calls reach the controller and whether the connection is left open.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <future>

#include "link/fake/fake_zel_library.h"
#include "link/link_thread_library.h"
#include "scripted_transfer_view.h"
#include "tests/support/file_bytes.h"
#include "transfer/program_transfer.h"

using namespace zel;
using zel::test::padded;

namespace {

class ProgramTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.LinkConfigured = true;
        state.flags.NoCommunication = false;
        state.flags.CommErrorFlag = false;
        lib.setError(210, QStringLiteral("No reply"));
    }
    QString file(const char* name, bool create) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(!create || test::writeBytes(path, "old"));
        return path;
    }

    QTemporaryDir dir;
    AppState state;
    FakeZelLibrary lib;
    LinkThreadLibrary link{lib};  // as in the monitor, where calls run on the link thread
    test::ScriptedTransferView view;
    ProgramTransfer transfer{state, link, view};
};

}  // namespace

// A cancelled dialog or a link never configured ends the sequence quietly, before any call.
TEST_F(ProgramTransferTest, CancelledDialogsAndAnUnconfiguredLinkTouchNothing) {
    const struct {
        const char* name;
        bool upload;
        bool configured;
        bool chooseFile;
        QStringList log;
    } cases[] = {
        {"download cancelled", false, true, false, {"dialog: Select Tavrel Object File"}},
        {"upload cancelled", true, true, false, {"dialog: Enter Tavrel Object File"}},
        {"download unconfigured", false, false, true, {"dialog: Select Tavrel Object File"}},
        {"upload unconfigured asks anyway", true, false, true,
         {"dialog: Enter Tavrel Object File", "yes/no: Upload Controller Register Values?"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view.log.clear();
        state.connection.LinkConfigured = c.configured;
        if (c.chooseFile) view.files = {file("P.DSO", !c.upload)};
        c.upload ? transfer.UploadProgram() : transfer.DownloadProgram();
        EXPECT_EQ(view.log, c.log);
        EXPECT_TRUE(lib.calls().isEmpty());
        EXPECT_EQ(state.connection.CommHandle, FakeZelLibrary::kHandle);
        EXPECT_FALSE(state.flags.DownloadBusy);
        QFile::remove(file("P.DSO", false));
    }
}

TEST_F(ProgramTransferTest, TheOpenDialogInsistsOnAnExistingFile) {
    const QString existing = file("LINE1.DSO", true);
    view.files = {QString(), file("NONE.DSO", false), existing};
    EXPECT_EQ(transfer.OpenDSOFile(QStringLiteral("START.DSO")), existing);
    EXPECT_EQ(view.log, QStringList({"dialog: Select Tavrel Object File",
                                     "box!: Please select a file to download.",
                                     "dialog: Select Tavrel Object File",
                                     "box!: File entered does not exist.",
                                     "dialog: Select Tavrel Object File"}));
    EXPECT_EQ(view.lastDialog.initialName, QStringLiteral("START.DSO"));
    EXPECT_EQ(view.lastDialog.defaultSuffix, QStringLiteral("DSO"));
    EXPECT_EQ(view.lastDialog.filters,
              QStringList({"DSP Binaries (*.DSO)", "All Files (*.*)"}));
    EXPECT_FALSE(view.lastDialog.save);
}

// Cancel to the overwrite question asks again; OK deletes the old file before the library
// writes the new one.
TEST_F(ProgramTransferTest, OverwriteCancelAsksAgainAndOkDeletesTheOldFileFirst) {
    const QString existing = file("LINE1.DSO", true);
    view.files = {QString(), existing, existing};
    view.okAnswers = {false, true};
    view.yesAnswers = {false};
    bool existedAtUpload = true;
    lib.setResponder(ZelCall::Upload, [&](const QVector<int32_t>&) {
        existedAtUpload = QFile::exists(existing);
        return 1;
    });
    transfer.UploadProgram();
    const QString question = existing + " already exists. Do you want to overwrite ?";
    EXPECT_EQ(view.log, QStringList({"dialog: Enter Tavrel Object File",
                                     "box!: Please select a file.",
                                     "dialog: Enter Tavrel Object File",
                                     "ok/cancel: " + question,
                                     "dialog: Enter Tavrel Object File",
                                     "ok/cancel: " + question,
                                     "yes/no: Upload Controller Register Values?",
                                     "status: Uploading " + existing, "status: ",
                                     "info: Program uploaded to " + existing}));
    EXPECT_TRUE(view.lastDialog.save);
    EXPECT_FALSE(existedAtUpload);
    EXPECT_EQ(lib.calls(), QStringList({"ZlUpload(7, " + existing + ")", "ZlCloseConnection(7)"}));
    EXPECT_EQ(state.connection.CommHandle, 0);
    EXPECT_TRUE(state.flags.CommErrorFlag);  // the polling tick makes the link again
}

// Which outcomes leave the connection open, and what the user is told.
TEST_F(ProgramTransferTest, TheConnectionIsClosedAfterADownloadOnlyWhenItSucceeded) {
    const QString path = file("LINE1.DSO", true);
    const struct {
        const char* name;
        int32_t downloadResult;
        int32_t closeResult;
        QStringList calls;
        QStringList tail;
        int32_t handle;
    } cases[] = {
        {"succeeded", 1, 1, {"ZlDownload(7, " + path + ")", "ZlCloseConnection(7)"},
         {"status: Download Complete!",
          "info: " + path + " downloaded.\n\nbytes : 0\nerrors : 0\nwarnings : 0\n"},
         0},
        {"failed", 0, 1, {"ZlDownload(7, " + path + ")", "ZlGetErrorInfo(7)"},
         {"status: Failed to Download!",
          "box!: Failed to download " + path + ".\nError: " + padded("No reply")},
         7},
        {"close failed", 1, 0,
         {"ZlDownload(7, " + path + ")", "ZlCloseConnection(7)", "ZlGetErrorInfo(7)"},
         {"status: Download Complete!",
          "info: " + path + " downloaded.\n\nbytes : 0\nerrors : 0\nwarnings : 0\n",
          "box!: Error closing network.\nError: " + padded("No reply")},
         7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        lib.clearCalls();
        view.log.clear();
        lib.setDefaultResult(ZelCall::Download, c.downloadResult);
        lib.setDefaultResult(ZelCall::CloseConnection, c.closeResult);
        view.files = {path};
        transfer.DownloadProgram();
        EXPECT_EQ(lib.calls(), c.calls);
        EXPECT_EQ(view.log.mid(2), c.tail);
        EXPECT_EQ(view.log.value(1), "status: Downloading " + path);
        EXPECT_EQ(state.connection.CommHandle, c.handle);
        EXPECT_FALSE(view.busy);
    }
}

TEST_F(ProgramTransferTest, AFailedUploadIsReportedAndStillClosesTheConnection) {
    const QString path = file("NEW.DSO", false);
    lib.queueResults(ZelCall::Upload, {0});
    lib.queueResults(ZelCall::CloseConnection, {0});
    view.files = {path};
    transfer.UploadProgram();
    EXPECT_EQ(view.log.mid(4),
              QStringList({"box!: Failed to upload " + path + ".\nError: " + padded("No reply"),
                           "box!: Error closing connection.\n" + padded("No reply")}));
    EXPECT_EQ(lib.callOrder(), QList<ZelCall>({ZelCall::Upload, ZelCall::GetErrorInfo,
                                               ZelCall::CloseConnection, ZelCall::GetErrorInfo}));
}

// The library call runs on the link thread while events are handled; a click meanwhile is
// refused.
TEST_F(ProgramTransferTest, ASecondRequestWhileATransferRunsIsRefused) {
    const QString path = file("LINE1.DSO", true);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    lib.setResponder(ZelCall::Download, [released](const QVector<int32_t>&) {
        released.wait();
        return 1;
    });
    bool busyMeanwhile = false;
    QTimer::singleShot(0, [&] {
        busyMeanwhile = state.flags.DownloadBusy && transfer.running();
        transfer.UploadProgram();
        transfer.DownloadProgram();
        release.set_value();
    });
    view.files = {path};
    transfer.DownloadProgram();
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_EQ(view.log.count(QStringLiteral("dialog: Select Tavrel Object File")), 1);
    EXPECT_EQ(lib.callOrder(), QList<ZelCall>({ZelCall::Download, ZelCall::CloseConnection}));
    EXPECT_FALSE(state.flags.DownloadBusy);
}

TEST_F(ProgramTransferTest, LoadSetsTheSerialRateAndCloseLinkReportsAFailure) {
    transfer.load();
    EXPECT_EQ(state.settings.BaudRate, 9600);
    lib.queueResults(ZelCall::CloseConnection, {0, 1});
    transfer.CloseLink();
    EXPECT_EQ(state.connection.CommHandle, 7);
    transfer.CloseLink();
    EXPECT_EQ(state.connection.CommHandle, 0);
    transfer.CloseLink();
    EXPECT_EQ(view.log, QStringList({"status: ", "box!: Failed to CLOSE connection."}));
    // A failed call's record is fetched on the link thread at once, whether asked for or not.
    EXPECT_EQ(lib.calls(), QStringList({"ZlCloseConnection(7)", "ZlGetErrorInfo(7)",
                                        "ZlCloseConnection(7)"}));
}
