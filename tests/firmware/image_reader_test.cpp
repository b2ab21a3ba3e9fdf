#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "firmware/firmware_image.h"
#include "firmware/huffman_stream.h"
#include "image_files.h"

using namespace zel::firmware;
using namespace zel::firmware::test;

namespace {

// The same text as a plain image and as a compressed one.
struct Both {
    ImageFolder folder;
    std::unique_ptr<FirmwareImage> plain = makeImage(ImageKind::Plain);
    std::unique_ptr<FirmwareImage> compressed = makeImage(ImageKind::Compressed);

    explicit Both(const std::string& text) {
        EXPECT_TRUE(plain->OpenFile(folder.write("image.sr", text)));
        EXPECT_TRUE(compressed->OpenFile(folder.write("image.csr", compressImage(text))));
    }
};

std::vector<std::string> allLines(FirmwareImage& image) {
    std::vector<std::string> lines;
    std::string line;
    while (!image.FileEOF() && image.GetLine(line)) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(ImageReader, LinesOfEitherKind) {
    using Lines = std::vector<std::string>;
    const struct {
        std::string text;
        Lines plain;
        Lines compressed;
    } cases[] = {
        // The end symbol after a final line feed ends an empty last line.
        {"S1 a\nS9 b\n", {"S1 a", "S9 b"}, {"S1 a", "S9 b", ""}},
        // A last line without its line feed comes with the end of the stream.
        {"S1 a\r\nS9 b", {"S1 a", "S9 b"}, {"S1 a", "S9 b"}},
        {"\n", {""}, {"", ""}},
        {"", {}, {""}},
        // Carriage returns never reach the caller of a compressed image.
        {"x\r\ry\r\n", {"x\r\ry"}, {"xy", ""}},
    };
    for (const auto& c : cases) {
        Both both(c.text);
        EXPECT_EQ(allLines(*both.plain), c.plain);
        EXPECT_EQ(allLines(*both.compressed), c.compressed);
        std::string past;
        EXPECT_FALSE(both.compressed->GetLine(past));
        // A rewind reads the same lines again.
        ASSERT_TRUE(both.plain->ResetFile());
        ASSERT_TRUE(both.compressed->ResetFile());
        EXPECT_EQ(allLines(*both.plain), c.plain);
        EXPECT_EQ(allLines(*both.compressed), c.compressed);
    }
}

TEST(ImageReader, FindLineGoesOnFromWhereItStopped) {
    Both both("list 2\nT one\nS1\nT two\nT end");
    for (FirmwareImage* image : {both.plain.get(), both.compressed.get()}) {
        std::string line;
        ASSERT_TRUE(image->FindLine("T ", line));
        EXPECT_EQ(line, "T one");
        ASSERT_TRUE(image->FindLine("T ", line));
        EXPECT_EQ(line, "T two");
        // The line that ends the stream is still tested.
        ASSERT_TRUE(image->FindLine("T ", line));
        EXPECT_EQ(line, "T end");
        EXPECT_EQ(image->lineNumber(), 5);
        EXPECT_FALSE(image->FindLine("T ", line));
    }
}

TEST(ImageReader, SectionLengthIsTheNumberAfterTheLastL) {
    const struct {
        std::string line;
        bool found;
        int32_t length;
    } cases[] = {
        {"4815KR L12345", true, 12345},
        {"4815KR L12 L7x", true, 7},
        {"4815KR L 40", true, 40},
        {"4815KR Lx", true, 0},
        {"4815KR L", false, 0},  // the last character
        {"L4815KR", false, 0},   // the first
        {"4815KR L99999999999", false, 0},
        {"4815KPR L12", false, 0},  // another model's line
    };
    for (const auto& c : cases) {
        Both both("list 1\n" + c.line + "\nS0\n");
        for (FirmwareImage* image : {both.plain.get(), both.compressed.get()}) {
            const SectionSize size = image->SectionLength("4815KR");
            EXPECT_EQ(size.found, c.found) << c.line;
            EXPECT_EQ(size.length, c.length) << c.line;
        }
    }
}

TEST(ImageReader, ErrMessageKeepsTheTextBeforeAControlCharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"Timeout\r\nmore", "Timeout"}, {"Port closed\x1f", "Port closed"},
        {"no control character", ""},   {"\nafter", ""},
        {"caf\xe9\x01", "caf\xe9"},     {"", ""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ErrMessage(text), expected) << text;
}

TEST(ImageReader, KindFromTheExtension) {
    const std::pair<std::string, std::optional<ImageKind>> cases[] = {
        {"fw/4815.sr", ImageKind::Plain},
        {"4815.SR1", ImageKind::Plain},
        {"4815.Csr", ImageKind::Compressed},
        {"4815.srx", std::nullopt},
        {"4815sr", std::nullopt},
        {"4815.csr.bak", std::nullopt},
    };
    for (const auto& [name, kind] : cases) EXPECT_EQ(imageKindOf(name), kind) << name;
}
