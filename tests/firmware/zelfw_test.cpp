// The zelfw tool run as a program: its files, exit statuses and messages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "image_files.h"

using namespace zel::firmware::test;

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun zelfw(const ImageFolder& folder, const std::string& args) {
    const std::string command = std::string(ZELFW_BINARY) + " " + args + " >" +
                                folder.path("stdout") + " 2>" + folder.path("stderr");
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, folder.read("stdout"), folder.read("stderr")};
}

}  // namespace

TEST(Zelfw, PackUnpackAndCheck) {
    ImageFolder folder;
    std::vector<std::string> lines = imageLines({{"4815KPZMaxR", 3}});
    lines[1] = "4815KPZMaxR L140";  // off by one: noted, still sound
    const std::string text = joined(lines) + "\r\n";
    const std::string in = folder.write("in.sr", text);
    const std::string packed = folder.path("fw.csr"), back = folder.path("back.sr");
    EXPECT_EQ(zelfw(folder, "pack " + in + " " + packed).status, 0);
    EXPECT_EQ(zelfw(folder, "unpack " + packed + " " + back).status, 0);
    EXPECT_EQ(folder.read("back.sr"), text);
    const ToolRun check = zelfw(folder, "check " + packed);
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out,
              packed + ": sound, 10 lines, 5 S-records\n  4815KPZMaxR: 139 characters (line 2: "
                       "the list gives 140 characters for 4815KPZMax CPU Module, its section "
                       "holds 139; only the progress shown is off)\n");
}

TEST(Zelfw, FailuresHaveTheirOwnStatusAndSayWhy) {
    ImageFolder folder;
    const std::string bad = folder.write("bad.sr", "S00600004844521B\nS9030000FD\n");
    const std::string cut = folder.write("cut.csr", std::string("\x41\x00\x43", 3));
    const std::string missing = folder.path("missing.sr");
    const struct {
        std::string args;
        int status;
        std::string err;
    } cases[] = {
        {"check " + bad, 1, "zelfw: " + bad + ": line 2: the checksum is FD, the bytes give FC\n"},
        {"check " + cut, 1, "zelfw: " + cut + ": Fatal error reading counts\n"},
        {"unpack " + cut + " " + folder.path("out"), 1,
         "zelfw: " + cut + ": Fatal error reading counts\n"},
        {"check " + folder.path("image.bin"), 2,
         "zelfw: " + folder.path("image.bin") + ": an image's name ends in .sr, .sr1 or .csr\n"},
        {"check " + missing, 3, "zelfw: cannot read " + missing + ": No such file or directory\n"},
        {"pack " + bad + " " + folder.path("no/such/dir.csr"), 3,
         "zelfw: cannot write " + folder.path("no/such/dir.csr") + ": No such file or directory\n"},
        {"", 2, "zelfw: no command given; try zelfw --help\n"},
        {"pack " + bad, 2, "zelfw: unknown command line; try zelfw --help\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = zelfw(folder, c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
    const ToolRun help = zelfw(folder, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: zelfw pack IN OUT")) << help.out;
    EXPECT_TRUE(zelfw(folder, "--version").out.starts_with("zelfw "));
}
