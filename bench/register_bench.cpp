// Register value files over TCP: uploading the registers of the simulator's model 14 scenario
// (1,000 general registers and eight non-volatile banks) into a file, and downloading that file
// back, each as a ratio to as many single round trips in a row as the transfer makes calls
// (a register read for the upload, a register write for the download), measured round by round
// in the same run. Goal 1.1 each.
//
//   zelbench_registers [--quick]

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "counting_library.h"
#include "stats.h"
#include "tests/windows/sim_link.h"
#include "transfer/register_transfer.h"

using namespace zel;

namespace {

class FileView final : public RegisterTransferView {
public:
    explicit FileView(QString path) : path_(std::move(path)) {}
    QString chooseSaveFile() override { return path_; }
    std::optional<QString> chooseOpenFile() override { return path_; }
    bool confirm(const QString&) override { return true; }
    void setMessage(const QString& text) override { last = text; }
    void setBusy(bool) override {}
    QString last;

private:
    QString path_;
};

struct Transfers {
    double uploadUs = 0;
    double downloadUs = 0;
    double uploadInLibrary = 0;  // shares of the transfers spent inside the library's calls
    double downloadInLibrary = 0;
    bool completed = false;
};

struct Trips {
    double readsUs = 0;   // as many single register reads in a row as the upload makes calls
    double writesUs = 0;  // as many single register writes as the download makes
};

double microsOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1000;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const int rounds = quick ? 5 : 11;
    test::SimLink link(ZELSIM_MODEL14_SCENARIO);
    if (link.handle() <= 0) {
        std::fprintf(stderr, "no connection to the simulator\n");
        return 1;
    }
    QTemporaryDir dir;
    FileView view(dir.filePath(QStringLiteral("regs.txt")));
    bench::CountingLibrary counting(link.lib);
    RegisterTransfer transfer(link.state, counting, view, {});

    // The calls each transfer makes, from one run of each before the rounds.
    transfer.upload();
    const long uploadCalls = counting.roundTrips;
    counting.roundTrips = 0;
    transfer.download();
    const long downloadCalls = counting.roundTrips;
    if (view.last != QLatin1String("Register file write completed.")) {
        std::fprintf(stderr, "the transfers did not complete: %s\n", qPrintable(view.last));
        return 1;
    }

    const int32_t h = link.handle();
    const auto results = bench::inRounds(
        rounds,
        [&] {
            Trips t;
            int32_t value = 0;
            t.readsUs = microsOf([&] {
                for (long i = 0; i < uploadCalls; ++i) link.lib.ZlGetRegister(h, 1, value);
            });
            t.writesUs = microsOf([&] {
                for (long i = 0; i < downloadCalls; ++i) link.lib.ZlPutRegister(h, 1, value);
            });
            return t;
        },
        [&] {
            Transfers t;
            counting.callNs = 0;
            t.uploadUs = microsOf([&] { transfer.upload(); });
            t.uploadInLibrary = counting.callNs / 1000 / t.uploadUs;
            const bool uploaded = view.last == QLatin1String("Register read completed.");
            counting.callNs = 0;
            t.downloadUs = microsOf([&] { transfer.download(); });
            t.downloadInLibrary = counting.callNs / 1000 / t.downloadUs;
            t.completed = uploaded && view.last == QLatin1String("Register file write completed.");
            return t;
        });
    using R = decltype(results)::value_type;
    for (const R& r : results)
        if (!r.work.completed) {
            std::fprintf(stderr, "a transfer did not complete: %s\n", qPrintable(view.last));
            return 1;
        }
    const auto print = [&](const char* what, double Transfers::*work, double Transfers::*inLibrary,
                           long calls, double Trips::*floor, const char* call) {
        const auto workMs =
            bench::spreadOver(results, [&](const R& r) { return r.work.*work / 1000; });
        const auto tripUs = bench::spreadOver(
            results, [&](const R& r) { return r.floor.*floor / static_cast<double>(calls); });
        std::printf("%s of the model 14 registers: %.1f ms (%.1f-%.1f) vs %ld x one %s %.1f us "
                    "(%.1f-%.1f) | ",
                    what, workMs.median, workMs.min, workMs.max, calls, call, tripUs.median,
                    tripUs.min, tripUs.max);
        bench::printRatio(
            bench::spreadOver(results, [&](const R& r) { return r.work.*work / r.floor.*floor; }),
            results.size(), 1.1);
        const auto share =
            bench::spreadOver(results, [&](const R& r) { return r.work.*inLibrary; });
        std::printf("  in the library %.1f%% of the %s (%.1f-%.1f)\n", 100 * share.median, what,
                    100 * share.min, 100 * share.max);
    };
    print("upload", &Transfers::uploadUs, &Transfers::uploadInLibrary, uploadCalls, &Trips::readsUs, "ZlGetRegister");
    print("download", &Transfers::downloadUs, &Transfers::downloadInLibrary, downloadCalls, &Trips::writesUs, "ZlPutRegister");
    return 0;
}
