// The compressed firmware image reader's decoding and zelfw pack's packing, in MB/s of image
// text, next to gzip -dc and gzip -c of the same text measured in the same run, round by round.
// All are timed in processor time (user and system): the reader in this thread, the programs
// as child processes. A report; there is no goal.
//
//   zelbench_firmware [rounds]     (five at least, seven by default)
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "firmware/compressed_image.h"
#include "firmware/huffman_stream.h"
#include "firmware/srecord.h"
#include "stats.h"

using namespace zel;

namespace {

constexpr int kRecords = 100000;  // of 32 data bytes: about 7.6 MB of text

double processorMs(const rusage& u) {
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double threadProcessorMs() {
    rusage u{};
    ::getrusage(RUSAGE_THREAD, &u);
    return processorMs(u);
}

// An image as a build would give: S3 records of code-like bytes (an LCG's, biased to small
// values as machine code is), between an S0 and an S7, CR LF line ends.
std::string imageText() {
    std::string text = firmware::makeSRecord('0', 0, "ZEL") + "\r\n";
    uint32_t state = 12345;
    for (int r = 0; r < kRecords; ++r) {
        std::string data;
        for (int i = 0; i < 32; ++i) {
            state = state * 1664525u + 1013904223u;
            const unsigned v = state >> 24;
            data += static_cast<char>(v < 128 ? v & 0x0F : v);
        }
        text +=
            firmware::makeSRecord('3', 0x10000u + 32u * static_cast<unsigned>(r), data) + "\r\n";
    }
    return text + firmware::makeSRecord('7', 0x10000u, "") + "\r\nEND\r\n";
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    if (!(out << bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

// Processor milliseconds of a program run with its standard input and output redirected.
double programMs(std::vector<std::string> args, const std::string& in, const std::string& out) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", args[0].c_str());
        std::exit(1);
    }
    return processorMs(usage);
}

// Reads every line of the compressed image as the update does.
double readerMs(const std::string& path) {
    const double start = threadProcessorMs();
    firmware::CompressedImage image;
    if (!image.OpenFile(path)) std::exit(1);
    std::string line;
    while (!image.FileEOF())
        if (!image.GetLine(line)) std::exit(1);
    return threadProcessorMs() - start;
}

struct Pair {
    double decodeMs = 0;
    double packMs = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 7;
    std::string folder = (std::filesystem::temp_directory_path() / "zelbench-fw-XXXXXX").string();
    if (!::mkdtemp(folder.data())) return 1;
    const std::string plain = folder + "/image.sr", packed = folder + "/image.csr",
                      gz = folder + "/image.sr.gz", sink = folder + "/out";
    const std::string text = imageText();
    writeFile(plain, text);
    writeFile(packed, firmware::compressImage(text));
    programMs({"gzip", "-c"}, plain, gz);

    const auto measured = bench::inRounds(
        rounds,
        [&] {
            return Pair{programMs({"gzip", "-dc"}, gz, sink),
                        programMs({"gzip", "-c"}, plain, sink)};
        },
        [&] {
            return Pair{readerMs(packed),
                        programMs({ZELFW_BINARY, "pack", plain, sink}, "/dev/null", "/dev/null")};
        });
    const double mb = static_cast<double>(text.size()) / 1e6;
    using R = decltype(measured)::value_type;
    const auto rate = [&](auto ms) {
        return bench::spreadOver(measured, [&](const R& r) { return mb / (ms(r) / 1e3); });
    };
    const auto show = [&](const char* what, const bench::Spread& s) {
        std::printf("  %-28s median %7.1f MB/s (%.1f-%.1f)\n", what, s.median, s.min, s.max);
    };
    std::printf(
        "firmware image, %.1f MB of S-record text, packed to %.1f MB (gzip %.1f MB), %d rounds\n",
        mb, static_cast<double>(std::filesystem::file_size(packed)) / 1e6,
        static_cast<double>(std::filesystem::file_size(gz)) / 1e6, rounds);
    show("compressed reader, lines", rate([](const R& r) { return r.work.decodeMs; }));
    show("gzip -dc", rate([](const R& r) { return r.floor.decodeMs; }));
    show("zelfw pack", rate([](const R& r) { return r.work.packMs; }));
    show("gzip -c", rate([](const R& r) { return r.floor.packMs; }));
    std::filesystem::remove_all(folder);
    return 0;
}
