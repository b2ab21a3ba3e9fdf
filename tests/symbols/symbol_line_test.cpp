#include <gtest/gtest.h>

#include "symbols/symbol_line.h"
#include "symbol_test_support.h"

using namespace zel::symbols;

namespace {

struct LineCase {
    const char* label;
    QByteArray line;
    QByteArray code;
    int32_t number;
    int32_t value;
    QByteArray name;
};

class ScanSymbolLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ScanSymbolLine, GivesTheFieldsAsStored) {
    const LineCase& c = GetParam();
    const ScannedLine scanned = scanSymbolLine(c.line);
    ASSERT_EQ(scanned.kind, LineKind::Symbol);
    EXPECT_EQ(scanned.record.code, c.code);
    EXPECT_EQ(scanned.record.number, c.number);
    EXPECT_EQ(scanned.record.value, c.value);
    EXPECT_EQ(scanned.record.name, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScanSymbolLine,
    ::testing::Values(
        LineCase{"Blanks", "8 17 0 Pump_speed", "8", 17, 0, "Pump_speed"},
        LineCase{"TabsAndCommas", " \t128,\t5 , 1,Door_open,", "128", 5, 1, "Door_open"},
        LineCase{"CarriageReturn", "2 1 0 Level\r", "2", 1, 0, "Level"},
        LineCase{"QuotedName", "8 4 0 \"Set point, hi\" extra", "8", 4, 0, "Set point, hi"},
        LineCase{"CodeNotANumber", "abc 4 0 Header", "0", 4, 0, "Header"},
        LineCase{"LeadingNumbers", "0131072x 12abc 1z Out", "131072", 12, 1, "Out"},
        LineCase{"FractionsRoundHalfEven", "2.0 2.5 3.5 Half", "2", 2, 4, "Half"},
        LineCase{"SignsAndExponent", "+8 -7 1e1 Signed", "8", -7, 10, "Signed"},
        LineCase{"FractionalCode", "8.25 1 0 Odd", "8.25", 1, 0, "Odd"},
        LineCase{"NumbersClamped", "8 99999999999 -99999999999 Big", "8", 2147483647,
                 -2147483647 - 1, "Big"},
        // A name that is not UTF-8 is read as Latin-1, also when it ends mid-sequence.
        LineCase{"Latin1Name", "8 1 0 Temp\xe9rature", "8", 1, 0, "Temp\xc3\xa9rature"},
        LineCase{"Latin1Alone", "8 1 0 \xc4", "8", 1, 0, "\xc3\x84"},
        LineCase{"Latin1CutSequence", "8 1 0 Motor\xe2\x82", "8", 1, 0, "Motor\xc3\xa2\xc2\x82"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ScanSymbolLineKinds, LinesWithoutANameAreNotSymbols) {
    EXPECT_EQ(scanSymbolLine("").kind, LineKind::Blank);
    EXPECT_EQ(scanSymbolLine(" \t,\r").kind, LineKind::Blank);
    EXPECT_EQ(scanSymbolLine("8 17 0").kind, LineKind::NoName);
    EXPECT_EQ(scanSymbolLine("8 17 0 \"\"").kind, LineKind::NoName);
}

// Forty characters, not forty bytes: a cut never splits a character.
TEST(ScanSymbolLineNames, CountCharactersNotBytes) {
    QByteArray name;
    for (int i = 0; i < 45; ++i) name += "\xc3\xa9";  // é
    name += "\xf0\x9f\x94\xa7";                       // one character beyond the BMP
    const ScannedLine scanned = scanSymbolLine("8 1 0 " + name);
    EXPECT_EQ(QString::fromUtf8(scanned.record.name).size(), 40);
    EXPECT_TRUE(scanned.nameCut);

    const QByteArray emoji = QByteArray(39, 'a') + "\xf0\x9f\x94\xa7" + "b";
    EXPECT_EQ(scanSymbolLine("8 1 0 " + emoji).record.name,
              QByteArray(39, 'a') + "\xf0\x9f\x94\xa7");
}

}  // namespace
