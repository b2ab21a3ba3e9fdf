// The firmware update against zelsim's boot loader on a pseudo-terminal, through the real
// library: each kind of module from plain and compressed images, the selection path of a module
// already in its boot loader, every refusal, a module that falls silent; the fake library only
// for what no controller shows: the programming-mode replies it never gives and the order of
// the model probes, which a controller that takes one code cannot show.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QFile>
#include <algorithm>
#include <optional>

#include "firmware/huffman_stream.h"
#include "flash/firmware_update.h"
#include "image_files.h"
#include "link/dynamic_zel_library.h"
#include "link/fake/fake_zel_library.h"
#include "tests/support/sim_process.h"

using namespace zel;
using zel::firmware::test::ImageFolder;
using zel::firmware::test::imageLines;
using zel::firmware::test::joined;
using zel::test::SimProcess;

namespace {

class Screen final : public FirmwareUpdateView, public FirmwareHost {
public:
    QString file;
    std::optional<int> chosenModel;
    std::optional<ModelChoices> offered;
    bool ok = true;
    QString log;
    std::optional<int> progress;
    std::vector<int> percents;
    QStringList messages;
    int stops = 0, resumes = 0;
    std::function<void()> onLog;

    void showLog(const QString& text) override {
        log = text;
        if (onLog) onLog();
    }
    QString chooseImageFile(const QString&) override { return file; }
    bool askOkCancel(const QString&) override { return ok; }
    void showProgress(std::optional<int> percent) override {
        progress = percent;
        if (percent) percents.push_back(*percent);
    }
    std::optional<int> selectModel(const ModelChoices& choices) override {
        offered = choices;
        return chosenModel;
    }
    std::optional<QString> askText(const QString&) override { return std::nullopt; }
    void setBusyPointer(bool) override {}
    void showError(const QString& text) override { messages << "error: " + text; }
    void showModules(const QStringList&, int) override {}
    void setMessage(const QString& text) override { messages << text; }
    void stopPollingTimer() override { ++stops; }
    void resumePolling() override { ++resumes; }
    void writeLog(const QString&) override {}
};

// The records a module's section sends: from its S0 record to the one before END.
std::string recordsOf(const std::vector<std::string>& lines, const std::string& tag) {
    std::string text;
    bool inSection = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (!inSection && lines[i].starts_with(tag + " SECTION")) {
            inSection = true;
        } else if (inSection) {
            if (lines[i] == "END") break;
            text += lines[i] + "\n";
        }
    }
    return text;
}

class FirmwareUpdateEndToEnd : public ::testing::Test {
protected:
    DynamicZelLibrary lib{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    AppState state;
    Screen screen;
    ImageFolder folder;
    std::string out = folder.path("received.txt");
    std::vector<std::string> image = imageLines({{"4815KR", 5}, {"4815KPZR", 20}, {"4815KPZMaxR", 3},
                                                 {"7400R", 4}});

    void SetUp() override {
        ASSERT_TRUE(lib.isLoaded()) << lib.loadError().toStdString();
        state.settings.CommType = 3;
        state.settings.BaudRate = 19200;
        state.settings.CommTimeout = 300;
    }
    void TearDown() override { ::unsetenv("ZELCOM_COMM1"); }

    std::unique_ptr<SimProcess> start(std::vector<std::string> args) {
        args.insert(args.begin(), {"--pty", "--firmware-out", out});
        auto sim = std::make_unique<SimProcess>(args);
        ::setenv("ZELCOM_COMM1", sim->ptyPath().c_str(), 1);
        return sim;
    }
    QString writeImage(const std::string& name, const std::vector<std::string>& lines) {
        const std::string text = joined(lines);
        return QString::fromStdString(folder.write(
            name, name.ends_with(".csr") ? firmware::compressImage(text) : text));
    }
    void run(int module) { run(module, lib); }
    void run(int module, ZelLibrary& library) {
        FirmwareUpdate update(state, library, screen, screen, [](double) {}, [] {});
        update.load();
        update.selectModule(module);
        update.StartUpdate();
    }
    // The status word as the controller reports it over a fresh connection.
    int32_t controllerStatus() {
        const int32_t h = lib.ZlOpenConnection(LinkKind::Serial, 1, 0);
        int32_t status = -1;
        if (h > 0 && lib.ZlInitConnection(h, 19200, 0, 8, 0) == 1) lib.ZlGetStatus(h, status);
        if (h > 0) lib.ZlCloseConnection(h);
        return status;
    }
};

TEST_F(FirmwareUpdateEndToEnd, EachModuleTakesItsSectionFromPlainAndCompressedImages) {
    std::vector<std::string> comm = imageLines({{"4826", 18}});
    comm[1] = "4826 L99";  // off: only the progress shown goes by it
    struct Case {
        const char* name;
        int module;
        std::vector<std::string> args;
        std::string file;
        std::string tag;
        const char* done;
        const char* note = "";
    } cases[] = {
        {"cpu compressed, model probed", 0, {"--boot-model", "14"}, "cpu4815.csr", "4815KPZR",
         "COMPLETED"},
        {"cpu plain", 0, {"--boot-model", "16"}, "cpu4815.sr1", "4815KPZMaxR", "COMPLETED"},
        {"7400 compressed", 2, {"--boot-module", "7400", "--boot-model", "15"}, "unit7400.csr",
         "7400R", "COMPLETED"},
        {"comm plain", 1, {"--boot-module", "comm"}, "comm4826.sr", "4826",
         "COMPLETED: START CONTROLLER TO CONTINUE"},
        {"comm compressed", 1, {"--boot-module", "comm"}, "comm4826.csr", "4826",
         "COMPLETED: START CONTROLLER TO CONTINUE",
         "line 2: the list gives 99 characters for 4826/4826N Comm/DeviceNet Module, its section "
         "holds 769; only the progress shown is off\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string>& lines = c.tag == "4826" ? comm : image;
        // A plain image holds one module's records alone: the update sends it from its top to
        // its END line, nothing after.
        std::vector<std::string> plain;
        for (const std::string& record : zel::firmware::test::sectionLines(c.tag, 18))
            if (!record.ends_with(" SECTION")) plain.push_back(record);
        plain.push_back(firmware::makeSRecord('1', 0x900, "after the end"));
        const bool compressed = c.file.ends_with(".csr");
        screen.file = writeImage(c.file, compressed ? lines : plain);
        auto sim = start(c.args);
        run(c.module);

        std::string expected;
        if (compressed)
            expected = recordsOf(lines, c.tag);
        else
            for (size_t i = 0; i + 2 < plain.size(); ++i) expected += plain[i] + "\n";
        EXPECT_EQ(folder.read("received.txt"), expected);
        EXPECT_TRUE(screen.log.startsWith(QString::fromLatin1(c.done) + "\r\nDone\r\nVERIFIED\r\n"))
            << screen.log.toStdString();
        EXPECT_TRUE(screen.log.contains("ERASED 00000010\r\n")) << screen.log.toStdString();
        EXPECT_TRUE(screen.log.contains("Baud: 38400\r\n"));
        EXPECT_TRUE(screen.log.contains(c.note));
        // A plain image's progress counts against the whole file, line ends included.
        if (compressed) {
            EXPECT_EQ(screen.percents.back(), 100);
        }
        EXPECT_EQ(screen.progress, std::nullopt);
    }
}

TEST_F(FirmwareUpdateEndToEnd, AModuleInItsBootLoaderTakesTheModelTheUserPicks) {
    for (const char* code : {"206", "170"}) {
        SCOPED_TRACE(code);
        screen.file = writeImage("cpu4815.csr", image);
        screen.chosenModel = 16;
        auto sim = start({"--in-boot-loader", code});
        run(0);
        ASSERT_TRUE(screen.offered);
        const auto& o = screen.offered->options;
        EXPECT_EQ(o[0].caption, "4815K CPU Module");
        EXPECT_EQ(o[1].caption, "4815KPZ CPU Module");
        EXPECT_EQ(o[2].caption, "4815KPZMax CPU Module");
        EXPECT_FALSE(o[3].visible);  // the 7400's line: not a choice here
        EXPECT_EQ(folder.read("received.txt"), recordsOf(image, "4815KPZMaxR"));
        EXPECT_TRUE(screen.log.contains(QStringLiteral("Reset Error: ") + code));
        EXPECT_TRUE(screen.log.startsWith("COMPLETED\r\n"));
    }
}

// Each redraw repaints the whole window, so a long image must not redraw it per record.
TEST_F(FirmwareUpdateEndToEnd, TheProgressIsRedrawnOnlyWhenItsPercentageChanges) {
    screen.file = writeImage("cpu4815.csr", imageLines({{"4815KR", 300}}));
    auto sim = start({"--boot-model", "11"});
    run(0);
    ASSERT_TRUE(screen.log.startsWith("COMPLETED\r\n")) << screen.log.toStdString();
    ASSERT_FALSE(screen.percents.empty());
    EXPECT_EQ(screen.percents.front(), 0);
    EXPECT_EQ(screen.percents.back(), 100);
    const auto& p = screen.percents;
    const auto again = std::adjacent_find(p.begin(), p.end(), [](int a, int b) { return b <= a; });
    EXPECT_TRUE(again == p.end()) << "redrawn at " << *again << "% after " << (again - p.begin());
}

// Every refusal names its cause; none sends a line, and all but the programming-mode replies
// come before the controller is reset. Replies no real controller gives come from the fake.
TEST_F(FirmwareUpdateEndToEnd, RefusalsSayWhyAndLeaveTheControllerAlone) {
    const std::string failed =
        "DOWNLOAD FAILED, CYCLE CONTROLLER POWER BEFORE RETRYING DOWNLOAD\r\n";
    std::vector<std::string> blank = image;
    blank.insert(blank.begin() + 8, "");  // inside the 4815KR section
    struct Case {
        const char* name;
        int module;
        std::vector<std::string> args;  // zelsim's; none: the fake
        std::string file;
        std::vector<std::string> lines;
        std::string log;
        bool reset;
        int32_t commType = 3;
        bool ok = true;
        QByteArray reply = {};  // the fake's programming-mode reply
        int32_t model = 11;     // what the fake's model register holds; it takes no write
        QStringList writes = {};
    } cases[] = {
        {"not serial", 0, {"--boot-model", "11"}, "cpu4815.csr", image,
         "Please Configure a Serial Connection to the Module", false, 2},
        {"another module's file", 0, {"--boot-model", "11"}, "comm4826.csr", image,
         failed + "Error: Invalid File Selected", false},
        {"unknown extension", 0, {"--boot-model", "11"}, "cpu4815.bin", image,
         failed + "Invalid File Type Selected\r\n", false},
        {"no section for the module", 2, {"--boot-module", "7400", "--boot-model", "15"},
         "unit7400.csr", imageLines({{"4815KR", 2}}),
         failed + "Invalid File, Does Not Support 7400 Series Controller\r\n", false},
        {"a blank line in the section", 0, {"--boot-model", "11"}, "cpu4815.csr", blank,
         failed + "Damaged Firmware File, line 9: a blank line would be sent to the module\r\n",
         false},
        {"warning cancelled", 0, {"--boot-model", "11"}, "cpu4815.csr", image, "", false, 3,
         false},
        {"model choice cancelled", 0, {"--in-boot-loader", "206"}, "cpu4815.csr", image,
         failed + "Reset Error: 206 Illegal data table row or column\r\n", false},
        {"\"g\" reply", 0, {"--boot-module", "comm", "--boot-model", "11"}, "cpu4815.csr", image,
         failed + "Connected to Incorrect ZEL Port\r\n", true},
        {"invalid reply", 0, {}, "cpu4815.csr", image,
         failed + "Failed to put into programming mode, Invalid Response\r\n", true, 3, true,
         QByteArray("\x03x\x9B\xFF", 4)},
        {"a \"d\" reply longer than 4 bytes", 0, {}, "cpu4815.csr", image,
         failed + "Failed to put into programming mode, Invalid Response\r\n", true, 3, true,
         QByteArray("\x04" "d\x9B\xFF\x00", 5)},
        {"no model code taken", 0, {}, "cpu4815.csr", image,
         failed + "Invalid Controller Model Code\r\n", true, 3, true, {}, 5,
         {"ZlPutRegister(7, 13008, 11)", "ZlPutRegister(7, 13008, 12)",
          "ZlPutRegister(7, 13008, 14)", "ZlPutRegister(7, 13008, 16)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen = Screen{};
        screen.file = writeImage(c.file, c.lines);
        screen.ok = c.ok;
        state.settings.CommType = c.commType;
        if (c.args.empty()) {
            FakeZelLibrary fake;
            fake.setRegister(13008, c.model);
            fake.setDefaultResult(ZelCall::PutRegister, 0);
            fake.setSendDataReply(c.reply);
            fake.setDefaultResult(ZelCall::SendAscii, 0);  // a reply taken for success ends soon
            state.flags.UserSuspended = true;
            run(c.module, fake);
            EXPECT_EQ(fake.callsTo(ZelCall::PutRegister), c.writes);
            EXPECT_EQ(fake.calls().contains("ZlPutStatus(7, 8)"), c.reset);
            EXPECT_FALSE(fake.callOrder().contains(ZelCall::SendAscii));
            EXPECT_EQ(screen.resumes, 0);  // monitoring stays suspended
        } else {
            auto sim = start(c.args);
            const int32_t before = controllerStatus();
            state.flags.UserSuspended = false;
            run(c.module);
            EXPECT_EQ(controllerStatus() != before, c.reset) << before;
            EXPECT_EQ(folder.read("received.txt"), "");
            EXPECT_EQ(screen.resumes, 1);
        }
        EXPECT_EQ(screen.log.toStdString(), c.log);
    }
}

TEST_F(FirmwareUpdateEndToEnd, AFailureAtALineStillPutsEverythingBack) {
    screen.file = writeImage("cpu4815.csr", image);
    auto sim = start({"--boot-model", "11", "--boot-fail-line", "3"});
    bool busyWhileRunning = false;
    screen.onLog = [&] { busyWhileRunning = busyWhileRunning || state.flags.DownloadBusy; };
    run(0);
    EXPECT_TRUE(screen.log.startsWith(
        "DOWNLOAD FAILED, CYCLE CONTROLLER POWER BEFORE RETRYING DOWNLOAD\r\n"
        "Failed to get XOFF response. 104 "))
        << screen.log.toStdString();
    const std::vector<std::string> sent(image.begin() + 6, image.begin() + 8);  // S0 and one S1
    EXPECT_EQ(folder.read("received.txt"), sent[0] + "\n" + sent[1] + "\n");
    EXPECT_TRUE(busyWhileRunning);
    EXPECT_FALSE(state.flags.DownloadBusy);
    EXPECT_EQ(state.settings.BaudRate, 19200);
    EXPECT_EQ(state.settings.CommTimeout, 300);
    EXPECT_EQ(state.connection.CommHandle, 0);
    EXPECT_TRUE(state.flags.NoCommunication);
    EXPECT_EQ(screen.progress, std::nullopt);
    EXPECT_EQ(screen.stops, 1);
    EXPECT_EQ(screen.resumes, 1);
}

}  // namespace
