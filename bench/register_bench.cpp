// Register value files over TCP: uploading the registers of the simulator's model 14 scenario
// (1,000 general registers and eight non-volatile banks) into a file, and downloading that file
// back, each as a ratio to its floor measured round by round in the same run. Goal 1.1 each.
// The upload's floor is the very reads it makes (blocks of fifty and sixteen, single registers)
// made straight to the library, so the ratio shows what the monitor adds; as many single
// register reads as the upload makes calls is printed beside it, not judged, since a block read
// carries more than one register. The download's floor is as many single register writes as
// it makes calls, which is what it makes.
//
//   zelbench_registers [--quick]

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "counting_library.h"
#include "stats.h"
#include "tests/support/sim_link.h"
#include "transfer/named_file_view.h"
#include "transfer/register_transfer.h"

using namespace zel;

namespace {

struct Transfers {
    double uploadUs = 0;
    double downloadUs = 0;
    double uploadInLibrary = 0;  // shares of the transfers spent inside the library's calls
    double downloadInLibrary = 0;
    bool completed = false;
};

struct Trips {
    double sameReadsUs = 0;    // the upload's reads, made straight to the library
    double singleReadsUs = 0;  // as many single register reads in a row as the upload makes calls
    double writesUs = 0;       // as many single register writes as the download makes
};

void makeReads(ZelLibrary& lib, int32_t handle, const std::vector<bench::RegisterRead>& reads) {
    bench::TripReplay replay(lib, handle, reads, static_cast<long>(reads.size()));
    for (size_t i = 0; i < reads.size(); ++i) replay();
}

long countOf(const std::vector<bench::RegisterRead>& reads, bench::RegisterRead::Kind kind) {
    return std::count_if(reads.begin(), reads.end(),
                         [kind](const bench::RegisterRead& r) { return r.kind == kind; });
}

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
    NamedFileView view(dir.filePath(QStringLiteral("regs.txt")));
    bench::CountingLibrary counting(link.lib);
    RegisterTransfer transfer(link.state, counting, view, {});

    // The calls each transfer makes, from one run of each before the rounds.
    std::vector<bench::RegisterRead> uploadReads;
    counting.registerReads = &uploadReads;
    transfer.upload();
    counting.registerReads = nullptr;
    const long uploadCalls = counting.roundTrips;
    counting.roundTrips = 0;
    transfer.download();
    const long downloadCalls = counting.roundTrips;
    if (view.message != QLatin1String("Register file write completed.")) {
        std::fprintf(stderr, "the transfers did not complete: %s\n", qPrintable(view.message));
        return 1;
    }

    const int32_t h = link.handle();
    const auto results = bench::inRounds(
        rounds,
        [&] {
            Trips t;
            int32_t value = 0;
            t.sameReadsUs = microsOf([&] { makeReads(link.lib, h, uploadReads); });
            t.singleReadsUs = microsOf([&] {
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
            const bool uploaded = view.message == QLatin1String("Register read completed.");
            counting.callNs = 0;
            t.downloadUs = microsOf([&] { transfer.download(); });
            t.downloadInLibrary = counting.callNs / 1000 / t.downloadUs;
            t.completed = uploaded && view.message == QLatin1String("Register file write completed.");
            return t;
        });
    using R = decltype(results)::value_type;
    for (const R& r : results)
        if (!r.work.completed) {
            std::fprintf(stderr, "a transfer did not complete: %s\n", qPrintable(view.message));
            return 1;
        }
    const auto ratioOf = [&](double Transfers::*work, double Trips::*floor) {
        return bench::spreadOver(results,
                                 [&](const R& r) { return r.work.*work / r.floor.*floor; });
    };
    const auto printShare = [&](const char* what, double Transfers::*inLibrary) {
        const auto share =
            bench::spreadOver(results, [&](const R& r) { return r.work.*inLibrary; });
        std::printf("  in the library %.1f%% of the %s (%.1f-%.1f)\n", 100 * share.median, what,
                    100 * share.min, 100 * share.max);
    };
    const auto printWork = [&](const char* what, double Transfers::*work) {
        const auto ms = bench::spreadOver(results, [&](const R& r) { return r.work.*work / 1000; });
        std::printf("%s of the model 14 registers: %.1f ms (%.1f-%.1f) vs ", what, ms.median,
                    ms.min, ms.max);
    };
    const auto perCall = [&](double Trips::*floor, long calls) {
        return bench::spreadOver(
            results, [&](const R& r) { return r.floor.*floor / static_cast<double>(calls); });
    };

    printWork("upload", &Transfers::uploadUs);
    const auto sameMs =
        bench::spreadOver(results, [&](const R& r) { return r.floor.sameReadsUs / 1000; });
    std::printf(
        "its %ld reads straight to the library (%ld x ZlGetRegister50, %ld x "
        "ZlGetRegister16, %ld x ZlGetRegister) %.1f ms (%.1f-%.1f) | ",
        uploadCalls, countOf(uploadReads, bench::RegisterRead::Block50),
        countOf(uploadReads, bench::RegisterRead::Block16),
        countOf(uploadReads, bench::RegisterRead::Single), sameMs.median, sameMs.min, sameMs.max);
    bench::printRatio(ratioOf(&Transfers::uploadUs, &Trips::sameReadsUs), results.size(), 1.1);
    const auto singleUs = perCall(&Trips::singleReadsUs, uploadCalls);
    const auto singleRatio = ratioOf(&Transfers::uploadUs, &Trips::singleReadsUs);
    std::printf(
        "  not judged, the former floor: %ld x one ZlGetRegister %.1f us (%.1f-%.1f) | "
        "ratio %.2f (%.2f-%.2f)\n",
        uploadCalls, singleUs.median, singleUs.min, singleUs.max, singleRatio.median,
        singleRatio.min, singleRatio.max);
    printShare("upload", &Transfers::uploadInLibrary);

    printWork("download", &Transfers::downloadUs);
    const auto writeUs = perCall(&Trips::writesUs, downloadCalls);
    std::printf("%ld x one ZlPutRegister %.1f us (%.1f-%.1f) | ", downloadCalls, writeUs.median,
                writeUs.min, writeUs.max);
    bench::printRatio(ratioOf(&Transfers::downloadUs, &Trips::writesUs), results.size(), 1.1);
    printShare("download", &Transfers::downloadInLibrary);
    return 0;
}
