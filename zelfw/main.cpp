// zelfw: packs, unpacks and checks firmware images.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "firmware/firmware_image.h"
#include "firmware/huffman_stream.h"
#include "firmware/image_check.h"

using namespace zel::firmware;

namespace {

// Exit statuses: a damaged image, a wrong command line and a file that cannot be read or
// written each have their own.
constexpr int kDamaged = 1;
constexpr int kUsage = 2;
constexpr int kFileError = 3;

constexpr char kUsageText[] =
    "Usage: zelfw pack IN OUT     write the compressed image (.csr) of a plain image\n"
    "       zelfw unpack IN OUT   write the plain text of a compressed image\n"
    "       zelfw check FILE      check an image (.sr, .sr1 or .csr): every S-record,\n"
    "                             and what an update sends from it to each model\n"
    "       zelfw --help | --version\n"
    "Exit status: 0 done or sound, 1 damaged image, 2 wrong command line,\n"
    "3 a file that cannot be read or written.\n";

int fail(int status, const std::string& message) {
    std::cerr << "zelfw: " << message << "\n";
    return status;
}

std::string systemError(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

std::optional<std::string> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

int pack(const std::string& in, const std::string& out) {
    const auto text = readAll(in);
    if (!text) return fail(kFileError, systemError("cannot read", in));
    if (!writeAll(out, compressImage(*text)))
        return fail(kFileError, systemError("cannot write", out));
    return 0;
}

int unpack(const std::string& in, const std::string& out) {
    std::FILE* stream = std::fopen(in.c_str(), "rb");
    if (!stream) return fail(kFileError, systemError("cannot read", in));
    std::string text, error;
    const bool ok = decompressImage(stream, text, error);
    std::fclose(stream);
    if (!ok) return fail(kDamaged, in + ": " + error);
    if (!writeAll(out, text)) return fail(kFileError, systemError("cannot write", out));
    return 0;
}

int check(const std::string& path) {
    const auto kind = imageKindOf(path);
    if (!kind) return fail(kUsage, path + ": an image's name ends in .sr, .sr1 or .csr");
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream) return fail(kFileError, systemError("cannot read", path));
    const auto image = makeImage(*kind);
    if (!image->openStream(stream)) return fail(kDamaged, path + ": " + image->error());
    const ImageCheck result = checkImage(*image);
    if (!result.sound) return fail(kDamaged, path + ": " + result.message());
    std::cout << path << ": sound, " << result.lines << " lines, " << result.records
              << " S-records\n";
    for (const auto& section : result.sections) {
        std::cout << "  " << section.tag << ": " << section.length << " characters";
        if (!section.note.empty()) std::cout << " (" << section.note << ")";
        std::cout << "\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsageText;
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "zelfw " << ZELFW_VERSION << "\n";
        return 0;
    }
    if (args.size() == 3 && args[0] == "pack") return pack(args[1], args[2]);
    if (args.size() == 3 && args[0] == "unpack") return unpack(args[1], args[2]);
    if (args.size() == 2 && args[0] == "check") return check(args[1]);
    if (args.empty()) return fail(kUsage, "no command given; try zelfw --help");
    return fail(kUsage, "unknown command line; try zelfw --help");
}
