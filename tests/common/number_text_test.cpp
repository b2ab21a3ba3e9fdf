#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/hex_text.h"
#include "common/number_text.h"

namespace zel {
namespace {

TEST(StrNumber, PutsTheSignPlaceBeforeNonNegativeNumbers) {
    EXPECT_EQ(strNumber(0), " 0");
    EXPECT_EQ(strNumber(17), " 17");
    EXPECT_EQ(strNumber(-17), "-17");
    EXPECT_EQ(strNumber(int64_t{-2147483648LL}), "-2147483648");
}

TEST(StrNumber, WritesFractionsWithoutLeadingZeroAndLargeOrTinyValuesWithExponent) {
    EXPECT_EQ(strNumber(0.5), " .5");
    EXPECT_EQ(strNumber(-0.25), "-.25");
    EXPECT_EQ(strNumber(2.5), " 2.5");
    EXPECT_EQ(strNumber(-0.0), " 0");
    EXPECT_EQ(strNumber(1e15), " 1E+15");
    EXPECT_EQ(strNumber(123456789012345.0), " 123456789012345");
    EXPECT_EQ(strNumber(0.0001), " .0001");
    EXPECT_EQ(strNumber(0.00001), " 1E-05");
    EXPECT_EQ(strNumber(1.0 / 3.0), " .333333333333333");
}

TEST(Val, ReadsTheLeadingNumberAndIgnoresTheRest) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},        {"abc", 0},    {"  12abc", 12}, {"\t7", 7}, {"-3.5e2x", -350},
        {".5", 0.5},    {"-.5", -0.5}, {"5.", 5},       {"1e", 1},  {"1e+", 1},
        {"2E3", 2000},  {"+", 0},      {".", 0},        {"- 5", 0}, {"--1", 0},
        {"1.2.3", 1.2}, {"+4", 4},     {"12 34", 12},   {"007", 7}, {"1e-2", 0.01},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(val(c.text), c.value) << '"' << c.text << '"';
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const double cases[][2] = {{0.5, 0},   {1.5, 2},   {2.5, 2},   {3.5, 4},    {-0.5, 0},
                               {-1.5, -2}, {-2.5, -2}, {12.6, 13}, {2.4999, 2}, {-7.51, -8}};
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c[0]), c[1]) << c[0];
}

TEST(Rounding, NumberFieldsClampToThe32BitRange) {
    EXPECT_EQ(roundToInt32(99999999999.0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(roundToInt32(-1e20), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(roundToInt32(2147483646.5), 2147483646);
    EXPECT_EQ(roundToInt32(std::nan("")), 0);
    EXPECT_EQ(roundToInt32(val("12.6")), 13);
    EXPECT_TRUE(std::isinf(val("1e999")));  // a huge exponent is infinity, clamped like the rest
    EXPECT_EQ(roundToInt32(val("-1e999")), std::numeric_limits<int32_t>::min());
}

// Upper-case digits, negatives as two's complement, and back again.
TEST(HexText, RoundTripsAndRejectsAnythingButUpToEightDigits) {
    for (const int32_t n : {0, 26, 255, -1, std::numeric_limits<int32_t>::min()})
        EXPECT_EQ(hexValue(hexText(n)), n) << hexText(n).toStdString();
    EXPECT_EQ(hexText(255), "FF");
    EXPECT_EQ(hexText(-1), "FFFFFFFF");
    EXPECT_EQ(hexValue(" 1a "), 26);
    for (const char* bad : {"", "   ", "123456789", "0x1F", "+5", "-1", "G1", "1 2"})
        EXPECT_FALSE(hexValue(bad).has_value()) << '"' << bad << '"';
}

TEST(PrintZone, PadsToTheNextZoneAndTakesAtLeastOne) {
    EXPECT_EQ(padToPrintZone(""), QString(14, u' '));
    EXPECT_EQ(padToPrintZone("Reg#"), "Reg#" + QString(10, u' '));
    EXPECT_EQ(padToPrintZone(QString(14, u'x')).size(), 14);
    EXPECT_EQ(padToPrintZone(QString(15, u'x')).size(), 28);
}

TEST(TrimBlanks, RemovesSpacesOnly) {
    EXPECT_EQ(trimBlanks("  host  "), "host");
    EXPECT_EQ(trimBlanks("\thost "), "\thost");
    EXPECT_EQ(trimBlanks("   "), "");
}

}  // namespace
}  // namespace zel
