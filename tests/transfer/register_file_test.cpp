// The number forms no transfer test writes, and the reader's message for each broken line.
#include <gtest/gtest.h>

#include "transfer/register_file.h"

using namespace zel;

TEST(RegisterFile, NumberForms) {
    EXPECT_EQ(registerIntegerForm(-7), "-7 ");
    EXPECT_EQ(registerIntegerForm(0), " 0 ");
    EXPECT_EQ(registerFloatForm(-0.25), "-.25 ");
    EXPECT_EQ(registerFloatForm(1.0 / 3.0), " .333333333333333 ");
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
