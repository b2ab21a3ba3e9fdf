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

// `cut`: the compressed image loses its last byte.
ImageCheck checked(const ImageFolder& folder, ImageKind kind, const std::string& text,
                   bool cut = false) {
    auto image = makeImage(kind);
    const bool compressed = kind == ImageKind::Compressed;
    std::string bytes = compressed ? compressImage(text) : text;
    if (cut) bytes.pop_back();
    EXPECT_TRUE(image->OpenFile(folder.write(compressed ? "image.csr" : "image.sr", bytes)));
    return checkImage(*image);
}

// Lines 1-3 the list, 4-9 the 4815KR section (S1 records on 6 and 7), 10-14 the 7400R one.
Lines twoModels() {
    return imageLines({{"4815KR", 2}, {"7400R", 1}});
}

const std::string kRecord = "S1130000285F245F2212226A000424290008237C2A";

// A plain image: records alone, sent from the first line.
Lines records() {
    return {"S00600004844521B", kRecord, "S9030000FC"};
}

}  // namespace

TEST(ImageCheck, SoundImages) {
    ImageFolder folder;
    Lines lines = twoModels();
    const ImageCheck check = checked(folder, ImageKind::Compressed, joined(lines));
    EXPECT_TRUE(check.sound) << check.message();
    EXPECT_EQ(check.lines, 14);
    EXPECT_EQ(check.records, 7);
    EXPECT_EQ(check.sections, (std::vector<SectionCheck>{{"4815KR", 97, ""}, {"7400R", 55, ""}}));

    // A length that is off only scales the progress shown: a note, not a fault.
    lines[1] = "4815KR L96";
    const ImageCheck off = checked(folder, ImageKind::Compressed, joined(lines));
    EXPECT_TRUE(off.sound) << off.message();
    EXPECT_EQ(off.sections.at(0).note,
              "line 2: the list gives 96 characters for 4815K CPU Module, its section holds 97; "
              "only the progress shown is off");

    const ImageCheck plain = checked(folder, ImageKind::Plain, joined(records()) + "\n");
    EXPECT_TRUE(plain.sound) << plain.message();
    EXPECT_EQ(plain.records, 3);
    EXPECT_TRUE(plain.sections.empty());
}

TEST(ImageCheck, DamageIsReportedWithItsLine) {
    constexpr ImageKind plain = ImageKind::Plain, compressed = ImageKind::Compressed;
    const struct {
        ImageKind kind;
        std::function<void(Lines&)> damage;
        std::string message;
        bool cut = false;
    } cases[] = {
        {compressed, [](Lines& l) { l[5] = kRecord.substr(0, 40) + "2B"; },
         "line 6: the checksum is 2B, the bytes give 2A"},
        {compressed, [](Lines& l) { l[6] = l[6].substr(0, 30); },
         "line 7: the record is cut short: the byte count says 19 bytes, the record holds 13"},
        {compressed, [](Lines& l) { l[6] += "00"; },
         "line 7: the record runs on: the byte count says 19 bytes, the record holds 20"},
        {compressed, [](Lines& l) { l[11][30] = 'G'; },
         "line 12: the record holds \"G\", which is not a hexadecimal digit"},
        {compressed, [](Lines& l) { l[12] = "S4030000FC"; }, "line 13: record type S4 is not used"},
        {compressed, [](Lines& l) { l[9] = "7400 SECTION"; },
         "line 3: no section for 7400 Series Controller"},
        {compressed, [](Lines& l) { l.pop_back(); },
         "line 13: the section for 7400 Series Controller ends without an END line"},
        {compressed, [](Lines& l) { l[10] = kRecord; },
         "line 11: the section for 7400 Series Controller does not start with an S0 record"},
        {compressed, [](Lines& l) { l[2] = "7401X L55"; },
         "line 3: the line names no known module"},
        {compressed, [](Lines& l) { l[0] = "ZEL FIRMWARE MODELS"; },
         "line 1: the first line is neither an S-record nor ends in the number of models (1 to 4)"},
        {compressed, [](Lines& l) { l.resize(2); },
         "line 2: the image ends inside its list of models"},
        {compressed, [](Lines&) {}, "line 14: The compressed stream ends before its end mark",
         true},
        // What the update would send but the boot loader cannot take.
        {compressed, [](Lines& l) { l.insert(l.begin() + 6, ""); },
         "line 7: a blank line would be sent to the module"},
        {plain, [](Lines& l) { l.erase(l.begin()); },
         "line 1: the image does not start with an S0 record"},
        {plain, [](Lines& l) { l.insert(l.begin() + 1, ""); },
         "line 2: a blank line would be sent to the module"},
        {compressed, [](Lines& l) { l.insert(l.begin() + 11, "; patched"); },
         "line 12: the line is not an S-record, yet it would be sent to the module"},
        {plain, [](Lines& l) { l = twoModels(); },
         "line 1: a plain image is sent whole from its first line, so it cannot start with a "
         "list of models"},
        {compressed, [](Lines& l) { l = records(); },
         "line 1: a compressed image is sent by its model's section, so it must start with a "
         "list of models"},
    };
    ImageFolder folder;
    for (const auto& c : cases) {
        Lines lines = c.kind == plain ? records() : twoModels();
        c.damage(lines);
        const ImageCheck check = checked(folder, c.kind, joined(lines), c.cut);
        EXPECT_FALSE(check.sound) << c.message;
        EXPECT_EQ(check.message(), c.message);
    }
}
