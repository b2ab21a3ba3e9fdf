// Upload and download of register value files against the library's test double: the layouts
// each model code gets, the bank count, the retries, the V-registers and every message.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "link/fake/fake_zel_library.h"
#include "link/link_claim.h"
#include "tests/support/file_bytes.h"
#include "transfer/register_transfer.h"

using namespace zel;

namespace {

class RecordingView final : public RegisterTransferView {
public:
    QString chooseSaveFile() override { return saveName; }
    std::optional<QString> chooseOpenFile() override { return openName; }
    bool confirm(const QString& question) override {
        events << "ask: " + question;
        return answer;
    }
    void setMessage(const QString& text) override { events << "message: " + text; }
    void setBusy(bool busy) override { events << (busy ? "busy" : "idle"); }

    QString saveName;
    std::optional<QString> openName;
    bool answer = true;
    QStringList events;
};

struct Transfers {
    explicit Transfers(int32_t model) {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.ModelCode = model;
        path = dir.filePath("regs.txt");
        view.saveName = path;
        view.openName = path;
    }
    // Register r holds r + 1000000 for the general registers and every bank register.
    void fillController() {
        for (int32_t r = 1; r <= 1000; ++r) fake.setRegister(r, r + 1000000);
        for (int32_t r = 32001; r <= 40000; ++r) fake.setRegister(r, r + 1000000);
    }
    // Single reads of the registers in `failing` fail.
    void singleReadsOnly(QList<int32_t> failing) {
        fake.setResponder(ZelCall::GetRegister, [failing](const QVector<int32_t>& args) {
            return failing.contains(args[1]) ? 0 : 1;
        });
    }
    QStringList lines() const {
        QString text = QString::fromLatin1(test::readBytes(path));
        EXPECT_TRUE(text.endsWith("\r\n"));
        text.chop(2);
        return text.split("\r\n");
    }
    int32_t count(ZelCall call) const { return fake.callOrder().count(call); }

    QTemporaryDir dir;
    QString path;
    AppState state;
    FakeZelLibrary fake;
    RecordingView view;
    int pumps = 0;
    std::function<void()> onPump;
    RegisterTransfer transfer{state, fake, view, [this] {
                                  ++pumps;
                                  if (onPump) onPump();
                              }};
};

}  // namespace

TEST(RegisterUpload, SimpleLayoutReadsOneRegisterAtATime) {
    for (int32_t model : {1, 2, 4}) {
        Transfers t(model);
        t.fillController();
        t.singleReadsOnly({2});
        t.transfer.upload();
        const QStringList lines = t.lines();
        ASSERT_EQ(lines.size(), 1002) << model;
        EXPECT_EQ(lines[2], "1              1000001 ");
        EXPECT_EQ(lines[3], "2             *");
        EXPECT_EQ(lines[1001], "1000           1001000 ");
        EXPECT_EQ(t.count(ZelCall::GetRegister50), 0);
        EXPECT_EQ(t.view.events,
                  QStringList({"ask: Are you sure you want to Upload register values to file: " +
                                   t.path + " from the controller?",
                               "busy", "message: Reading registers, please wait ...",
                               "message: Register read completed.", "idle"}));
        EXPECT_EQ(t.pumps, 100);
    }
}

TEST(RegisterUpload, BlockLayoutBanksFollowTheBankTest) {
    struct Case {
        int32_t model;
        QList<int32_t> unreadable;
        QList<int32_t> banks;  // first registers of the banks written
    };
    const Case cases[] = {
        {3, {32001}, {}},
        {6, {32001, 36001}, {}},
        {3, {33001, 34001, 35001}, {32001}},
        {3, {33001}, {32001, 34001, 35001}},
        {14, {36001}, {32001, 33001, 34001, 35001}},
        {15, {}, {32001, 33001, 34001, 35001, 36001, 37001, 38001, 39001}},
        // Eight banks on 36001 alone, even when 32001 does not answer.
        {16, {32001, 33001}, {34001, 35001, 36001, 37001, 38001, 39001}},
        {6, {}, {32001, 33001, 34001, 35001}},
    };
    for (const Case& c : cases) {
        Transfers t(c.model);
        t.fillController();
        t.singleReadsOnly(c.unreadable);
        t.transfer.upload();
        const QStringList lines = t.lines();
        ASSERT_EQ(lines.size(), 1002 + 1000 * c.banks.size()) << c.model;
        EXPECT_EQ(lines[2], "1             1000001");
        // Block 3 reads one at a time; 128 is written as 0 without a read.
        EXPECT_EQ(lines[129], "128           0");
        EXPECT_EQ(lines[130], "129           1000129");
        EXPECT_FALSE(t.fake.calls().contains("ZlGetRegister(7, 128)"));
        EXPECT_EQ(t.count(ZelCall::GetRegister50), 19);
        for (int i = 0; i < c.banks.size(); ++i) {
            const int32_t first = c.banks[i];
            EXPECT_EQ(lines[1002 + 1000 * i], QString("%1%2").arg(first, -14).arg(first + 1000000));
            EXPECT_EQ(lines[2001 + 1000 * i],
                      QString("%1%2").arg(first + 999, -14).arg(first + 1000999));
        }
        EXPECT_EQ(t.count(ZelCall::GetRegister16), 63 * c.banks.size());
        EXPECT_TRUE(t.view.events.contains("message: Register read completed."));
    }
}

TEST(RegisterUpload, RetriesThreeTimesThenFails) {
    struct Case {
        ZelCall call;
        int failures;
        bool completes;
        int lines;  // a failed upload leaves the lines read before the failure
    };
    const Case cases[] = {
        {ZelCall::GetRegister50, 3, true, 5002},
        {ZelCall::GetRegister50, 4, false, 2},
        {ZelCall::GetRegister16, 3, true, 5002},
        {ZelCall::GetRegister16, 4, false, 1002},
    };
    for (const Case& c : cases) {
        Transfers t(3);
        t.fillController();
        for (int i = 0; i < c.failures; ++i) t.fake.queueResults(c.call, {0});
        t.transfer.upload();
        EXPECT_EQ(t.view.events.contains("message: Register read completed."), c.completes)
            << callName(c.call) << c.failures;
        EXPECT_EQ(t.view.events.contains("message: Failed to get registers!"), !c.completes);
        EXPECT_EQ(t.lines().size(), c.lines) << callName(c.call) << c.failures;
        EXPECT_EQ(t.view.events.last(), "idle");
        EXPECT_FALSE(t.state.flags.DownloadBusy);
    }
}

TEST(RegisterUpload, BlockThreeStartsOverAfterAFailedRead) {
    Transfers t(3);
    t.fillController();
    int failures = 1;
    t.fake.setResponder(ZelCall::GetRegister, [&failures](const QVector<int32_t>& args) {
        if (args[1] != 103 || failures == 0) return 1;
        --failures;
        return 0;
    });
    t.transfer.upload();
    const QStringList lines = t.lines();
    EXPECT_EQ(lines[102], "101           1000101");
    EXPECT_EQ(lines[103], "102           1000102");
    EXPECT_EQ(lines[104], "101           1000101");
    EXPECT_EQ(lines.size(), 1002 + 4000 + 2);
}

TEST(RegisterUpload, ModelFiveAppendsVRegisters) {
    Transfers t(5);
    t.fillController();
    t.singleReadsOnly({32001});
    t.fake.setVRegister(36101, 2.5);
    t.fake.setVRegister(36800, -1e20);
    t.fake.setResponder(ZelCall::GetVRegister,
                        [](const QVector<int32_t>& args) { return args[1] == 36102 ? 0 : 1; });
    t.transfer.upload();
    const QStringList lines = t.lines();
    ASSERT_EQ(lines.size(), 1002 + 700);
    EXPECT_EQ(lines[1002], "36101          2.5 ");
    EXPECT_EQ(lines[1003], "36102         *");
    EXPECT_EQ(lines[1004], "36103          0 ");
    EXPECT_EQ(lines[1701], "36800         -1E+20 ");
}

TEST(RegisterUpload, NoNameOrNoEndsWithoutTouchingTheController) {
    Transfers declined(3);
    declined.view.answer = false;
    declined.transfer.upload();
    Transfers unnamed(3);
    unnamed.view.saveName.clear();
    unnamed.transfer.upload();
    EXPECT_TRUE(declined.fake.calls().isEmpty());
    EXPECT_TRUE(unnamed.fake.calls().isEmpty());
    EXPECT_TRUE(unnamed.view.events.isEmpty());
    EXPECT_FALSE(QFile::exists(declined.path));
}

// The values written back are proven against zelsim; here, what the user is told on the way.
TEST(RegisterDownload, ReportsEachHundredAndEachVRegister) {
    for (int32_t model : {1, 3, 5, 14}) {
        Transfers up(model);
        up.fillController();
        up.transfer.upload();

        Transfers down(model);
        QFile::remove(down.path);
        ASSERT_TRUE(QFile::copy(up.path, down.path));
        down.transfer.download();
        EXPECT_EQ(down.view.events.last(2),
                  QStringList({"message: Register file write completed.", "idle"}))
            << model;
        EXPECT_TRUE(down.view.events.contains("message: Registers 1 to 100 downloaded!"));
        EXPECT_TRUE(down.view.events.contains("message: Registers 901 to 1000 downloaded!"));
        EXPECT_EQ(down.view.events.contains("message: Registers 32001 to 32100 downloaded!"),
                  model != 1);
        EXPECT_EQ(down.view.events.contains("message: Register 36800 downloaded!"), model == 5);
        EXPECT_FALSE(down.state.flags.DownloadBusy);
    }
}

TEST(RegisterDownload, FailuresAndStarValues) {
    struct Case {
        const char* name;
        QByteArray body;  // after the header
        const char* lastMessage;
        bool writesTwo;
    };
    QByteArray thousand, withStar;
    for (int r = 1; r <= 1000; ++r) thousand += QByteArray::number(r) + " 5\r\n";
    withStar = thousand;
    withStar.replace("2 5\r\n", "2 *\r\n");
    const Case cases[] = {
        {"short", "1 5\r\n", "message: Failed to write registers!", false},
        {"bad value", thousand + "32001 x\r\n", "message: Failed to write registers!", true},
        {"complete", thousand, "message: Register file write completed.", true},
        // An unread value leaves its register as it is.
        {"star", withStar, "message: Register file write completed.", false},
    };
    for (const Case& c : cases) {
        Transfers t(3);
        ASSERT_TRUE(test::writeBytes(t.path, "Reg#          Value\r\n\r\n" + c.body));
        t.transfer.download();
        EXPECT_EQ(t.view.events.last(2), QStringList({c.lastMessage, "idle"})) << c.name;
        EXPECT_EQ(t.fake.calls().contains("ZlPutRegister(7, 2, 5)"), c.writesTwo) << c.name;
    }
}

TEST(RegisterDownload, AFailedWriteEndsTheSecondPhaseOnly) {
    Transfers t(3);
    QByteArray body = "Reg#\r\n\r\n";
    for (int r = 1; r <= 1000; ++r) body += QByteArray::number(r) + " 1\r\n";
    for (int r = 32001; r <= 32010; ++r) body += QByteArray::number(r) + " 2\r\n";
    ASSERT_TRUE(test::writeBytes(t.path, body));
    t.fake.setResponder(ZelCall::PutRegister, [](const QVector<int32_t>& args) {
        return args[1] == 10 || args[1] == 32003 ? 0 : 1;
    });
    t.transfer.download();
    EXPECT_EQ(t.count(ZelCall::PutRegister), 1003);
    EXPECT_EQ(t.fake.registerValue(11), 1);
    EXPECT_EQ(t.fake.registerValue(32002), 2);
    EXPECT_EQ(t.fake.registerValue(32004), 0);
    EXPECT_EQ(t.view.events.last(2),
              QStringList({"message: Register file write completed.", "idle"}));
}

TEST(RegisterDownload, CancelFailsAndDeclineEndsQuietly) {
    Transfers cancelled(3);
    cancelled.view.openName.reset();
    cancelled.transfer.download();
    EXPECT_EQ(cancelled.view.events, QStringList({"message: Failed to write registers!"}));
    Transfers declined(3);
    declined.transfer.download();  // no file yet: the question comes first
    declined.view.answer = false;
    declined.view.events.clear();
    declined.transfer.download();
    EXPECT_EQ(declined.view.events,
              QStringList({"ask: Are you sure you want to Download to registers from file: " +
                           declined.path + " to the controller?"}));
    EXPECT_TRUE(declined.fake.calls().isEmpty());
}

// /dev/full takes the open and refuses every write with "No space left on device".
TEST(RegisterUpload, AFullDiskIsReportedNotCompleted) {
    Transfers full(1);
    full.fillController();
    full.view.saveName = QStringLiteral("/dev/full");
    full.transfer.upload();
    EXPECT_TRUE(full.view.events.contains(
        "message: Failed to get registers! Cannot write /dev/full: No space left on device"));
    EXPECT_FALSE(full.view.events.contains("message: Register read completed."));
}

// The transfer holds the link through every pump to its end; a second transfer started from a
// pump is refused before it asks anything and does not give the first one's claim back.
TEST(RegisterTransferClaim, HeldUntilTheEndAndKeptFromASecondTransfer) {
    for (const bool upload : {true, false}) {
        SCOPED_TRACE(upload ? "upload" : "download");
        Transfers t(3);
        t.fillController();
        if (!upload) t.transfer.upload();
        RecordingView secondView;
        secondView.saveName = t.dir.filePath("second.txt");
        RegisterTransfer second{t.state, t.fake, secondView, {}};
        int pumpsFree = 0;
        t.onPump = [&] {
            if (secondView.events.isEmpty()) second.upload();
            if (linkFree(t.state)) ++pumpsFree;
        };
        upload ? t.transfer.upload() : t.transfer.download();
        EXPECT_GT(t.pumps, 1);
        EXPECT_EQ(pumpsFree, 0);
        EXPECT_EQ(secondView.events,
                  QStringList{"message: A transfer is in progress; try again when it has finished."});
        EXPECT_FALSE(QFile::exists(secondView.saveName));
        EXPECT_TRUE(linkFree(t.state));
    }
}
