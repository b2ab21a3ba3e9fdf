#include "dso.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string_view>

#include "json_fields.h"
#include "program_json.h"

namespace zel::sim {
namespace {

constexpr std::string_view kMagic = "ZELDSO1\n";

}  // namespace

std::vector<uint8_t> encodeDso(const Program& program) {
    const std::string text = std::string(kMagic) + programToJson(program).dump(2) + "\n";
    return {text.begin(), text.end()};
}

Program decodeDso(std::span<const uint8_t> bytes) {
    if (bytes.size() < kMagic.size() ||
        std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0)
        throw DsoError("not a program object file");
    const auto text = bytes.subspan(kMagic.size());
    const auto doc = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    if (doc.is_discarded()) throw DsoError("program text is not valid JSON");
    try {
        return programFromJson(doc, "program");
    } catch (const JsonShapeError& e) {
        throw DsoError(e.what());
    }
}

void writeDsoFile(const std::string& path, const Program& program) {
    const auto bytes = encodeDso(program);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    if (!out) throw DsoError(path + ": cannot write: " + std::strerror(errno));
}

}  // namespace zel::sim
