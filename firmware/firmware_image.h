// A firmware image read line by line behind one interface, whether it is plain text (".sr",
// ".sr1") or compressed (".csr"), so that the update and the checker never ask which.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zel::firmware {

enum class ImageKind { Plain = 0, Compressed = 1 };

// The kind the file name's extension gives, compared without regard to case.
std::optional<ImageKind> imageKindOf(std::string_view fileName);

// The text before its first control character; "" when it has none or starts with one.
std::string ErrMessage(std::string_view text);

// The length a section's line gives after its last "L".
struct SectionSize {
    bool found = false;
    int32_t length = 0;
};

class FirmwareImage {
public:
    virtual ~FirmwareImage();

    // Opens the image; false with error() when it cannot be read.
    bool OpenFile(const std::string& fileName);
    // Takes an open stream as the image (a memory stream in tests and the fuzzer).
    virtual bool openStream(std::FILE* stream) = 0;
    // Back to the first line.
    virtual bool ResetFile() = 0;
    // The next line without its line end; false at the end of a compressed image or when
    // it cannot be read (error() says why).
    virtual bool GetLine(std::string& line) = 0;
    virtual bool FileEOF() const = 0;
    virtual ImageKind kind() const = 0;
    void CloseCompressedFile();

    // Reads on until a line contains `text`; false when the image ends first.
    bool FindLine(std::string_view text, std::string& line);
    // FindLine, then the number after the line's last "L" (neither its first nor its last
    // character).
    SectionSize SectionLength(std::string_view text);

    // The number of the line GetLine returned last, 0 before the first.
    int lineNumber() const { return lineNumber_; }
    const std::string& error() const { return error_; }

protected:
    std::FILE* file_ = nullptr;
    int lineNumber_ = 0;
    std::string error_;
};

std::unique_ptr<FirmwareImage> makeImage(ImageKind kind);

}  // namespace zel::firmware
