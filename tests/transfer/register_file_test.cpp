// The file's number forms and lines, and the reader on good and broken files.
#include <gtest/gtest.h>

#include "transfer/register_file.h"

using namespace zel;

TEST(RegisterFile, NumberForms) {
    EXPECT_EQ(registerTextForm(12), "12");
    EXPECT_EQ(registerTextForm(-7), "-7");
    EXPECT_EQ(registerIntegerForm(12), " 12 ");
    EXPECT_EQ(registerIntegerForm(-7), "-7 ");
    EXPECT_EQ(registerIntegerForm(0), " 0 ");
    EXPECT_EQ(registerFloatForm(1.5), " 1.5 ");
    EXPECT_EQ(registerFloatForm(-0.25), "-.25 ");
    EXPECT_EQ(registerFloatForm(1.0 / 3.0), " .333333333333333 ");
}

TEST(RegisterFile, LinesUsePrintZonesAndCrLf) {
    EXPECT_EQ(registerFileHeader(), QByteArray("Reg#          Value\r\n\r\n"));
    EXPECT_EQ(registerFileLine("32001", "-5"), QByteArray("32001         -5\r\n"));
    EXPECT_EQ(registerFileLine("7", " 3 "), QByteArray("7              3 \r\n"));
}

TEST(RegisterFile, AppendedLinesMatchTheTextForms) {
    const struct {
        int32_t number;
        int32_t value;
        const char* line;
    } cases[] = {
        {1, 0, "1             0\r\n"},
        {32001, -5, "32001         -5\r\n"},
        {-2147483647 - 1, 2147483647, "-2147483648   2147483647\r\n"},
    };
    QByteArray lines("x");
    QByteArray expected("x");
    for (const auto& c : cases) {
        appendRegisterFileLine(lines, c.number, c.value);
        expected += c.line;
    }
    EXPECT_EQ(lines, expected);
}

TEST(RegisterFile, ReadsEntriesInEveryForm) {
    RegisterFileReader reader("Reg#          Value\r\n\r\n"
                              "1             -12\r\n"
                              "2              40 \r\n"
                              " 3            *\r\n"
                              "36101          1.5 \r\n"
                              "\r\n");
    ASSERT_TRUE(reader.skipHeader());
    auto a = reader.readInteger();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->number, 1);
    EXPECT_EQ(a->value, -12);
    auto b = reader.readInteger();
    ASSERT_TRUE(b);
    EXPECT_EQ(b->value, 40);
    EXPECT_EQ(reader.peekNumber(), 3);
    auto c = reader.readInteger();
    ASSERT_TRUE(c);
    EXPECT_EQ(c->number, 3);
    EXPECT_FALSE(c->value);
    EXPECT_FALSE(reader.atEnd());
    auto v = reader.readFloat();
    ASSERT_TRUE(v);
    EXPECT_EQ(v->number, 36101);
    EXPECT_EQ(v->value, 1.5);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_TRUE(reader.error().isEmpty());
}

TEST(RegisterFile, BadLinesAreReportedByNumber) {
    struct Case {
        const char* body;
        const char* error;
    };
    const Case cases[] = {
        {"1 5\r\n2 abc\r\n", "Line 4: \"abc\" is not a 32-bit value."},
        {"1 5\r\n2 2147483648\r\n", "Line 4: \"2147483648\" is not a 32-bit value."},
        {"1 1.5\r\n", "Line 3: \"1.5\" is not a 32-bit value."},
        {"x1 5\r\n", "Line 3: \"x1\" is not a register number."},
        {"1\r\n", "Line 3: a register number and a value are expected."},
        {"1 2 3\r\n", "Line 3: a register number and a value are expected."},
        {"\r\n", "Line 3: a register number and a value are expected."},
        {"1 5\r\n", "Line 4: the file ends here."},
    };
    for (const Case& c : cases) {
        RegisterFileReader reader(QByteArray("Reg#  Value\r\n\r\n") + c.body);
        ASSERT_TRUE(reader.skipHeader());
        while (reader.readInteger()) {
        }
        EXPECT_EQ(reader.error(), c.error) << c.body;
    }
    RegisterFileReader headerOnly("Reg#  Value\r\n");
    EXPECT_FALSE(headerOnly.skipHeader());
    EXPECT_EQ(headerOnly.error(), "Line 2: the file ends before its first register.");
}
