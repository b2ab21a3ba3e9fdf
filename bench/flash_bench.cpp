// The firmware update of a CPU module from a compressed image of 256 KiB of firmware (8,192 S3
// records of 32 bytes) against zelsim's boot loader on a pseudo-terminal, with no line pacing,
// as a ratio to as many round trips as the update makes calls to the controller, measured round
// by round in the same run against a second simulator's boot loader. Nearly all calls are the
// data records' exchanges, a record answered by XOFF and an XON answered by XON, so the floor's
// round trip is the mean of those very exchanges made straight to the library: a record costs
// more than an XON (its bytes cross the pty and the boot loader checks and stores it), and no
// update can send a record for less. As many XON round trips as calls are printed beside it,
// not judged. The update's fixed waits are made zero here and only counted. Goal 1.2.
//
//   zelbench_flash [--quick]

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/packet_checksum.h"
#include "counting_library.h"
#include "firmware/huffman_stream.h"
#include "firmware/srecord.h"
#include "flash/firmware_update.h"
#include "link/dynamic_zel_library.h"
#include "stats.h"
#include "tests/firmware/image_files.h"
#include "tests/support/sim_process.h"

using namespace zel;

namespace {

constexpr int kRecords = 8192;  // of 32 bytes: 256 KiB of firmware
constexpr char kXon = 17;
constexpr char kXoff = 19;
constexpr char kLineFeed = 10;
constexpr int32_t kTimeoutMs = 5500;

// The firmware as S3 records of code-like bytes (an LCG's, biased to small values as machine
// code is).
std::vector<std::string> dataRecords() {
    std::vector<std::string> records;
    uint32_t seed = 12345;
    for (int r = 0; r < kRecords; ++r) {
        std::string data;
        for (int i = 0; i < 32; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const unsigned v = seed >> 24;
            data += static_cast<char>(v < 128 ? v & 0x0F : v);
        }
        records.push_back(
            firmware::makeSRecord('3', 0x10000u + 32u * static_cast<unsigned>(r), data));
    }
    return records;
}

// One model's section in a compressed image: the model list, the tag line, S0, the data, S7,
// END.
std::string imageText(const std::vector<std::string>& data) {
    std::vector<std::string> records{firmware::makeSRecord('0', 0, "ZEL")};
    records.insert(records.end(), data.begin(), data.end());
    records.push_back(firmware::makeSRecord('7', 0x10000u, ""));
    records.push_back("END");
    size_t length = 0;
    for (size_t i = 1; i < records.size(); ++i) length += records[i].size();
    std::vector<std::string> lines{"ZEL FIRMWARE MODELS 1",
                                   "4815KPZR L" + std::to_string(length), "4815KPZR SECTION"};
    lines.insert(lines.end(), records.begin(), records.end());
    return firmware::compressImage(firmware::test::joined(lines));
}

// The update window and the main window with nothing to draw on: counts what would be redrawn.
class Windowless final : public FirmwareUpdateView, public FirmwareHost {
public:
    explicit Windowless(QString file) : file_(std::move(file)) {}
    QString log;
    long logShows = 0;
    long progressShows = 0;

    void showLog(const QString& text) override {
        log = text;
        ++logShows;
    }
    QString chooseImageFile(const QString&) override { return file_; }
    bool askOkCancel(const QString&) override { return true; }
    void showProgress(std::optional<int>) override { ++progressShows; }
    std::optional<int> selectModel(const ModelChoices&) override { return std::nullopt; }
    std::optional<QString> askText(const QString&) override { return std::nullopt; }
    void setBusyPointer(bool) override {}
    void showError(const QString& text) override { log = text; }
    void showModules(const QStringList&, int) override {}
    void setMessage(const QString&) override {}
    void stopPollingTimer() override {}
    void resumePolling() override {}
    void writeLog(const QString&) override {}

private:
    QString file_;
};

// A second boot loader, past its header record, so that an XON is answered by an XON alone and
// a data record by XOFF.
class XonPeer {
public:
    XonPeer(ZelLibrary& lib, const std::string& out)
        : lib_(lib), sim_({"--pty", "--firmware-out", out}) {
        ::setenv("ZELCOM_COMM2", sim_.ptyPath().c_str(), 1);
        handle_ = lib_.ZlOpenConnection(LinkKind::Serial, 2, 0);
        const QByteArray request = AppendPacketChecksum(QByteArray("\x01\x05\x69\x86\x03", 5));
        QByteArray reply;
        ready_ = handle_ > 0 && lib_.ZlInitConnection(handle_, 38400, 0, 8, 0) == 1 &&
                 lib_.ZlSetConnectionTimeout(handle_, kTimeoutMs) == 1 &&
                 lib_.ZlSendData(handle_, 20, request, static_cast<int16_t>(request.size()),
                                 reply) == 1 &&
                 reply.size() > 1 && reply[1] == 'd' && trip(QByteArray(1, kXon), kXon) &&
                 trip(QByteArray::fromStdString(firmware::makeSRecord('0', 0, "ZEL")), kXoff) &&
                 trip({}, kLineFeed);
    }
    ~XonPeer() {
        if (handle_ > 0) lib_.ZlCloseConnection(handle_);
        ::unsetenv("ZELCOM_COMM2");
    }
    bool ready() const { return ready_; }
    bool trip(const QByteArray& text, char end) {
        QByteArray reply;
        return lib_.ZlSendAscii(handle_, text, static_cast<int32_t>(text.size()), reply, end) > 0;
    }

private:
    ZelLibrary& lib_;
    test::SimProcess sim_;
    int32_t handle_ = 0;
    bool ready_ = false;
};

// One round's round trips straight to the library, in microseconds each.
struct Trips {
    double exchange = 0;  // a data record's exchanges: the record, then an XON
    double xon = 0;
    bool completed = false;
};

struct Update {
    double us = 0;
    double inLibrary = 0;  // the share spent inside the library's calls
    long calls = 0;
    long logShows = 0;
    long progressShows = 0;
    int waits = 0;
    double waitSeconds = 0;
    bool completed = false;
};

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const int rounds = quick ? 5 : 11;
    const int xonTrips = quick ? 2000 : 8000;
    const std::vector<std::string> records = dataRecords();
    std::vector<QByteArray> replayed;
    for (size_t i = 0; i < records.size() / (quick ? 4 : 1); ++i)
        replayed.push_back(QByteArray::fromStdString(records[i]));

    firmware::test::ImageFolder folder;
    const QString image =
        QString::fromStdString(folder.write("cpu4815.csr", imageText(records)));
    DynamicZelLibrary lib{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    if (!lib.isLoaded()) {
        std::fprintf(stderr, "%s\n", qPrintable(lib.loadError()));
        return 1;
    }
    test::SimProcess sim({"--pty", "--firmware-out", folder.path("received.txt"), "--boot-model",
                          "14"});
    ::setenv("ZELCOM_COMM1", sim.ptyPath().c_str(), 1);
    XonPeer peer(lib, folder.path("floor.txt"));
    if (!peer.ready()) {
        std::fprintf(stderr, "the second boot loader did not take its header record\n");
        return 1;
    }
    bench::CountingLibrary counting(lib);

    const auto results = bench::inRounds(
        rounds,
        [&] {
            Trips t;
            const QByteArray xon(1, kXon);
            QElapsedTimer timer;
            timer.start();
            for (const QByteArray& record : replayed)
                if (!peer.trip(record, kXoff) || !peer.trip(xon, kXon)) return t;
            t.exchange = static_cast<double>(timer.nsecsElapsed()) / 1000 /
                         (2 * static_cast<double>(replayed.size()));
            timer.restart();
            for (int i = 0; i < xonTrips; ++i)
                if (!peer.trip(xon, kXon)) return t;
            t.xon = static_cast<double>(timer.nsecsElapsed()) / 1000 / xonTrips;
            t.completed = true;
            return t;
        },
        [&] {
            Update u;
            AppState state;
            state.settings.CommType = 3;
            state.settings.BaudRate = 19200;
            state.settings.CommTimeout = 300;
            Windowless screen(image);
            FirmwareUpdate update(
                state, counting, screen, screen,
                [&u](double seconds) {
                    ++u.waits;
                    u.waitSeconds += seconds;
                },
                [] {});
            update.load();
            counting.roundTrips = 0;
            counting.callNs = 0;
            QElapsedTimer timer;
            timer.start();
            update.StartUpdate();
            u.us = static_cast<double>(timer.nsecsElapsed()) / 1000;
            u.inLibrary = counting.callNs / 1000 / u.us;
            u.calls = counting.roundTrips;
            u.logShows = screen.logShows;
            u.progressShows = screen.progressShows;
            u.completed = screen.log.startsWith(QLatin1String("COMPLETED\r\n"));
            if (!u.completed) std::fprintf(stderr, "%s\n", qPrintable(screen.log.left(300)));
            return u;
        });
    using R = decltype(results)::value_type;
    for (const R& r : results)
        if (!r.work.completed || !r.floor.completed) {
            std::fprintf(stderr,
                         "an update or the round trips straight to the library did not complete\n");
            return 1;
        }

    const Update& first = results.front().work;
    const auto ms = bench::spreadOver(results, [](const R& r) { return r.work.us / 1000; });
    const auto trip = bench::spreadOver(results, [](const R& r) { return r.floor.exchange; });
    std::printf("firmware update of 256 KiB (%d records, waits of %.1f s in %d made zero): "
                "%.0f ms (%.0f-%.0f) vs %ld x one trip of a record's exchanges %.1f us "
                "(%.1f-%.1f) | ",
                kRecords, first.waitSeconds, first.waits, ms.median, ms.min, ms.max,
                first.calls, trip.median, trip.min, trip.max);
    bench::printRatio(bench::spreadOver(results,
                                        [](const R& r) {
                                            return r.work.us / (static_cast<double>(r.work.calls) *
                                                                 r.floor.exchange);
                                        }),
                      results.size(), 1.2);
    const auto xon = bench::spreadOver(results, [](const R& r) { return r.floor.xon; });
    const auto toXon = bench::spreadOver(results, [](const R& r) {
        return r.work.us / (static_cast<double>(r.work.calls) * r.floor.xon);
    });
    const auto recordToXon =
        bench::spreadOver(results, [](const R& r) { return r.floor.exchange / r.floor.xon; });
    std::printf("  one XON alone %.1f us (%.1f-%.1f), the records' exchanges %.2f times it "
                "(%.2f-%.2f); the update %.2f times as many XONs (%.2f-%.2f), not judged\n",
                xon.median, xon.min, xon.max, recordToXon.median, recordToXon.min,
                recordToXon.max, toXon.median, toXon.min, toXon.max);
    const auto share = bench::spreadOver(results, [](const R& r) { return r.work.inLibrary; });
    std::printf("  in the library %.1f%% of the update (%.1f-%.1f); the window redrawn %ld times "
                "for the log, %ld for the progress\n",
                100 * share.median, 100 * share.min, 100 * share.max, first.logShows,
                first.progressShows);
    return 0;
}
