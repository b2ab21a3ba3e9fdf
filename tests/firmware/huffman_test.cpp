#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "firmware/huffman_stream.h"
#include "image_files.h"

using namespace zel::firmware;
using namespace zel::firmware::test;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) out += static_cast<char>(v);
    return out;
}

struct Unpacked {
    bool ok = false;
    std::string text;
    std::string error;
};

Unpacked unpack(const ImageFolder& folder, const std::string& image) {
    std::FILE* f = std::fopen(folder.write("image.csr", image).c_str(), "rb");
    Unpacked out;
    out.ok = decompressImage(f, out.text, out.error);
    std::fclose(f);
    return out;
}

}  // namespace

// A (1), B (1), C (2) and the end symbol (1): A and B pair first (lowest indices among the
// ones), then the end symbol with C, which beats the A-B pair of equal count by its lower
// index; codes A 00, B 01, end 10, C 11.
TEST(Huffman, TiesGoToTheLowerIndex) {
    EXPECT_EQ(compressImage("ACBC"),
              bytes({0x41, 0, 0x43, 0, 1, 0, 1, 0, 2, 0, 0xFF, 0x0F,  // one run, terminator
                     0b00110111, 0b10000000}));                       // A C B C, end, padding
    // The empty text: one run of nothing.
    EXPECT_EQ(compressImage(""), bytes({0, 0, 0, 0, 0, 0, 0xFF, 0x0F}));
}

TEST(Huffman, PackThenUnpackGivesTheSameBytes) {
    std::string everyByte;
    for (int i = 0; i < 256; ++i) everyByte += static_cast<char>(i);
    std::string large;  // enough of one byte that the counts must be scaled down
    for (int i = 0; i < 200000; ++i) large += (i % 97 == 0) ? '\n' : static_cast<char>('0' + i % 7);
    const std::string cases[] = {
        "",
        "\n",
        "S9030000FC",
        "S00600004844521B\nS9030000FC\n",
        "S00600004844521B\r\nS9030000FC\r\n",
        "a\r\rb\n\n\rc",
        everyByte,
        large,
    };
    ImageFolder folder;
    for (const auto& text : cases) {
        const Unpacked back = unpack(folder, compressImage(text));
        EXPECT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.text, text);
    }
}

TEST(Huffman, DamagedStreamsAreRefused) {
    const std::string counts = "Fatal error reading counts";
    const struct {
        std::string image;
        std::string error;
    } cases[] = {
        {"", counts},
        {bytes({0x41}), counts},
        {bytes({0x41, 0, 0x43, 0, 1, 0}), counts},
        {bytes({0x41, 0, 0x41, 0, 1, 0}), counts},  // no terminator
        {bytes({0xFF, 0x0F, 0xFF, 0x0F}),
         "The image's count header names symbol 4095, outside 0 to 514"},
        {bytes({0xFF, 0xFF, 0, 0, 1, 0}),
         "The image's count header names symbol -1, outside 0 to 514"},
        {bytes({3, 2, 3, 2}), "The image's count header names symbol 515, outside 0 to 514"},
        {bytes({0x41, 0, 0x42, 0, 0x30, 0x75, 0x30, 0x75, 0xFF, 0x0F}),  // 30000 twice
         "The image's symbol counts are too large: a sum exceeds 32767"},
        // ACBC's codes without their last byte: the end symbol never comes.
        {bytes({0x41, 0, 0x43, 0, 1, 0, 1, 0, 2, 0, 0xFF, 0x0F, 0b00110111}),
         "The compressed stream ends before its end mark"},
    };
    ImageFolder folder;
    for (const auto& c : cases) {
        const Unpacked back = unpack(folder, c.image);
        EXPECT_FALSE(back.ok);
        EXPECT_EQ(back.error, c.error);
    }
}
