#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "firmware/firmware_image.h"
#include "firmware/huffman_stream.h"
#include "firmware/image_check.h"
#include "image_files.h"

using namespace zel::firmware;
using namespace zel::firmware::test;

namespace {

using Lines = std::vector<std::string>;

ImageCheck checked(const ImageFolder& folder, ImageKind kind, const std::string& text) {
    auto image = makeImage(kind);
    const bool compressed = kind == ImageKind::Compressed;
    EXPECT_TRUE(image->OpenFile(folder.write(compressed ? "image.csr" : "image.sr",
                                             compressed ? compressImage(text) : text)));
    return checkImage(*image);
}

constexpr ImageKind kKinds[] = {ImageKind::Plain, ImageKind::Compressed};

// Lines 1-3 the list, 4-9 the 4815KR section (S1 records on 6 and 7), 10-14 the 7400R one.
Lines twoModels() {
    return imageLines({{"4815KR", 2}, {"7400R", 1}});
}

const std::string kRecord = "S1130000285F245F2212226A000424290008237C2A";

}  // namespace

TEST(ImageCheck, SoundImages) {
    ImageFolder folder;
    for (const ImageKind kind : kKinds) {
        const ImageCheck check = checked(folder, kind, joined(twoModels()));
        EXPECT_TRUE(check.sound) << check.message();
        EXPECT_EQ(check.lines, 14);
        EXPECT_EQ(check.records, 7);
        ASSERT_EQ(check.sections.size(), 2u);
        EXPECT_EQ(check.sections[0].tag, "4815KR");
        EXPECT_EQ(check.sections[0].length, 97);
        EXPECT_EQ(check.sections[1].tag, "7400R");
        EXPECT_EQ(check.sections[1].length, 55);

        const ImageCheck records =
            checked(folder, kind, "S00600004844521B\n" + kRecord + "\nS9030000FC\n");
        EXPECT_TRUE(records.sound) << records.message();
        EXPECT_EQ(records.records, 3);
        EXPECT_TRUE(records.sections.empty());
    }
}

TEST(ImageCheck, DamageIsReportedWithItsLine) {
    const struct {
        std::function<void(Lines&)> damage;
        std::string message;
    } cases[] = {
        {[](Lines& l) { l[5] = kRecord.substr(0, 40) + "2B"; },
         "line 6: the checksum is 2B, the bytes give 2A"},
        {[](Lines& l) { l[6] = l[6].substr(0, 30); },
         "line 7: the record is cut short: the byte count says 19 bytes, the record holds 13"},
        {[](Lines& l) { l[6] += "00"; },
         "line 7: the record runs on: the byte count says 19 bytes, the record holds 20"},
        {[](Lines& l) { l[11][30] = 'G'; },
         "line 12: the record holds \"G\", which is not a hexadecimal digit"},
        {[](Lines& l) { l[12] = "S4030000FC"; }, "line 13: record type S4 is not used"},
        {[](Lines& l) { l[9] = "7400 SECTION"; }, "line 3: no section for 7400 Series Controller"},
        {[](Lines& l) { l[1] = "4815KR L96"; },
         "line 2: the list gives 96 characters for 4815K CPU Module, its section holds 97"},
        {[](Lines& l) { l.pop_back(); },
         "line 13: the section for 7400 Series Controller ends without an END line"},
        {[](Lines& l) { l[10] = kRecord; },
         "line 11: the section for 7400 Series Controller does not start with an S0 record"},
        {[](Lines& l) { l[2] = "7401X L55"; }, "line 3: the line names no known module"},
        {[](Lines& l) { l[0] = "ZEL FIRMWARE MODELS"; },
         "line 1: the first line is neither an S-record nor ends in the number of models (1 to 4)"},
        {[](Lines& l) { l.resize(2); }, "line 2: the image ends inside its list of models"},
    };
    ImageFolder folder;
    for (const auto& c : cases) {
        Lines lines = twoModels();
        c.damage(lines);
        for (const ImageKind kind : kKinds) {
            const ImageCheck check = checked(folder, kind, joined(lines));
            EXPECT_FALSE(check.sound) << c.message;
            EXPECT_EQ(check.message(), c.message);
        }
    }
}

TEST(ImageCheck, CompressedStreamCutShortNamesTheLineItWasIn) {
    ImageFolder folder;
    std::string image = compressImage(joined(twoModels()));
    image.pop_back();
    auto reader = makeImage(ImageKind::Compressed);
    ASSERT_TRUE(reader->OpenFile(folder.write("cut.csr", image)));
    EXPECT_EQ(checkImage(*reader).message(),
              "line 14: The compressed stream ends before its end mark");
}
