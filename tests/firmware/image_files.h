// Images written to real files in a folder of the test's own, and the text of a sound
// multi-model image built from generated S-records.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "firmware/srecord.h"

namespace zel::firmware::test {

class ImageFolder {
public:
    ImageFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelfw-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ImageFolder() { std::filesystem::remove_all(path_); }

    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string file = path(name);
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A model's section: its tag line, S0, `records` S1 records of 16 bytes (42 characters each),
// S9 (10) and END (3).
inline std::vector<std::string> sectionLines(const std::string& tag, int records) {
    std::vector<std::string> lines{tag + " SECTION", makeSRecord('0', 0, "ZEL")};
    for (int i = 0; i < records; ++i)
        lines.push_back(makeSRecord('1', static_cast<unsigned>(0x100 + 16 * i),
                                    "record data " + tag.substr(0, 3) + char('A' + i % 26)));
    lines.push_back(makeSRecord('9', 0, ""));
    lines.push_back("END");
    return lines;
}

// The model list, then each model's section.
inline std::vector<std::string> imageLines(const std::vector<std::pair<std::string, int>>& models) {
    std::vector<std::string> lines{"ZEL FIRMWARE MODELS " + std::to_string(models.size())};
    for (const auto& [tag, records] : models)
        lines.push_back(tag + " L" + std::to_string(42 * records + 13));
    for (const auto& [tag, records] : models)
        for (auto& line : sectionLines(tag, records)) lines.push_back(std::move(line));
    return lines;
}

// Lines ended by CR LF but the last, so that both kinds of image have the same lines.
inline std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    return text;
}

}  // namespace zel::firmware::test
