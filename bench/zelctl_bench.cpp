// zelctl as a whole process next to the library alone: `zelctl tcp:127.0.0.1 read 1..1000`
// against the demo simulator, and the same 1000 register reads made in this process through
// libzelcom plus one empty start of zelctl (`zelctl --version`), measured round by round in the
// same run by the clock. The ratio says what the command line costs beyond starting a program
// and making the reads.
//
//   zelbench_zelctl [rounds]     (five at least, seven by default)
#include <arpa/inet.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "stats.h"
#include "tests/support/sim_process.h"
#include "zelcom.h"

using namespace zel;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRegisters = 1000;
constexpr int kRepeats = 5;  // runs of each kind per round, for a steadier round

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Milliseconds from starting zelctl with `args` to its exit; its output goes nowhere.
double zelctlMs(std::vector<std::string> args) {
    args.insert(args.begin(), ZELCTL_BINARY);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "zelctl %s failed\n", args.back().c_str());
        std::exit(1);
    }
    return msSince(start);
}

// The reads zelctl makes, through the library in this process: open, 1..1000, close.
double libraryReadsMs() {
    const auto start = Clock::now();
    int32_t timeout = 1000;
    const int32_t h =
        ZlOpenNetConnection(ZL_KIND_TCP, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)), &timeout);
    int32_t value = 0;
    for (int r = 1; h > 0 && r <= kRegisters; ++r)
        if (ZlGetRegister(h, r, &value) != 1) std::exit(1);
    if (h <= 0) {
        std::fprintf(stderr, "the library could not connect to zelsim\n");
        std::exit(1);
    }
    ZlCloseConnection(h);
    return msSince(start);
}

double repeated(double (*once)()) {
    double total = 0;
    for (int i = 0; i < kRepeats; ++i) total += once();
    return total / kRepeats;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 7;
    test::SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"});
    ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);

    struct Floor {
        double readsMs = 0;
        double startMs = 0;
    };
    const auto results = bench::inRounds(
        rounds,
        [] {
            return Floor{repeated(libraryReadsMs),
                         repeated([] { return zelctlMs({"--version"}); })};
        },
        [] {
            return repeated([] {
                return zelctlMs({"tcp:127.0.0.1", "read", "1.." + std::to_string(kRegisters)});
            });
        });

    const auto reads = bench::spreadOver(results, [](const auto& r) { return r.floor.readsMs; });
    const auto start = bench::spreadOver(results, [](const auto& r) { return r.floor.startMs; });
    const auto work = bench::spreadOver(results, [](const auto& r) { return r.work; });
    std::printf("zelctl read 1..%d: %.1f ms; in-process reads %.1f ms + empty zelctl start %.1f ms\n",
                kRegisters, work.median, reads.median, start.median);
    std::printf("zelctl / (in-process reads + empty start): ");
    bench::printRatio(bench::spreadOver(results,
                                        [](const auto& r) {
                                            return r.work / (r.floor.readsMs + r.floor.startMs);
                                        }),
                      results.size(), 1.5);
    return 0;
}
