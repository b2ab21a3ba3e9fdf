#include "firmware/firmware_image.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "firmware/compressed_image.h"
#include "firmware/plain_image.h"

namespace zel::firmware {

namespace {

bool endsWithNoCase(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) return false;
    text.remove_prefix(text.size() - end.size());
    for (size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != end[i]) return false;
    return true;
}

// Leading blanks, an optional sign and the digits that follow; 0 when there are none.
std::optional<int32_t> leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<ImageKind> imageKindOf(std::string_view fileName) {
    if (endsWithNoCase(fileName, ".sr") || endsWithNoCase(fileName, ".sr1"))
        return ImageKind::Plain;
    if (endsWithNoCase(fileName, ".csr")) return ImageKind::Compressed;
    return std::nullopt;
}

std::string ErrMessage(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) < 32) return std::string(text.substr(0, i));
    return {};
}

FirmwareImage::~FirmwareImage() {
    CloseCompressedFile();
}

bool FirmwareImage::OpenFile(const std::string& fileName) {
    std::FILE* stream = std::fopen(fileName.c_str(), "rb");
    if (!stream) {
        error_ = "Cannot open " + fileName + ": " + std::strerror(errno);
        return false;
    }
    return openStream(stream);
}

void FirmwareImage::CloseCompressedFile() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool FirmwareImage::FindLine(std::string_view text, std::string& line) {
    while (!FileEOF()) {
        if (!GetLine(line)) return false;
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

SectionSize FirmwareImage::SectionLength(std::string_view text) {
    std::string line;
    if (!FindLine(text, line)) return {};
    if (line.size() < 3) return {};
    const size_t at = line.find_last_of('L', line.size() - 2);
    if (at == std::string::npos || at == 0) return {};
    const auto length = leadingNumber(std::string_view(line).substr(at + 1));
    if (!length) return {};
    return {true, *length};
}

std::unique_ptr<FirmwareImage> makeImage(ImageKind kind) {
    if (kind == ImageKind::Compressed) return std::make_unique<CompressedImage>();
    return std::make_unique<PlainImage>();
}

}  // namespace zel::firmware
