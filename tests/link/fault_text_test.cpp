#include <gtest/gtest.h>

#include "link/fake/fake_zel_library.h"
#include "link/fault_text.h"
#include "link/lib_error.h"

namespace zel {
namespace {

// Every phrase word for word, each code with datum 2 (so the servo codes show 3), then the ways a
// datum is shown at its edges and the codes outside the table.
TEST(FaultCodeText, EveryPhraseAndDatumFormat) {
    const struct {
        int32_t code;
        int32_t datum;
        const char* text;
    } cases[] = {
        {1, 2, " - Illegal Function      - (fault code #1)"},
        {2, 2, " - Corrupt Program Data      - (fault code #2)"},
        {3, 2, " - Destination Step is Empty      - (fault code #3)"},
        {4, 2, " - Bad Thumbwheel Data      - (fault code #4)"},
        {5, 2, " - Step#1 is Empty      - (fault code #5)"},
        {6, 2, " - Too Many Tasks      - (fault code #6)"},
        {7, 2, " - No Such Stepper Motor      - (fault code #7)"},
        {8, 2, " - Motor Not Ready      - (fault code #8)"},
        {9, 2, " - Motor Unprofiled      - (fault code #9)"},
        {10, 2, " - Servo# 3 does NOT exist      - (fault code #10)"},
        {11, 2, " - Servo# 3 Is Not Ready      - (fault code #11)"},
        {12, 2, " - Servo# 3 Error      - (fault code #12)"},
        {13, 2, " - Register# 2 does NOT exist      - (fault code #13)"},
        {14, 2, " - Data Table Column# 2 does NOT exist      - (fault code #14)"},
        {15, 2, " - Data Table Row# 2 does NOT exist      - (fault code #15)"},
        {16, 2, " - No Such Proto Board      - (fault code #16)"},
        {17, 2, " - Illegal Sample Time      - (fault code #17)"},
        {18, 2, " - Analog Input#2 does NOT exist      - (fault code #18)"},
        {19, 2, " - Analog Output#2 does NOT exist      - (fault code #19)"},
        {20, 2, " - Display#2 does NOT exist      - (fault code #20)"},
        {21, 2, " - Digital Input#2 does NOT exist      - (fault code #21)"},
        {22, 2, " - Digital Output#2 does NOT exist      - (fault code #22)"},
        {23, 2, " - Thumbwheel#2 does NOT exist      - (fault code #23)"},
        {24, 2, " - Illegal Data Table Value      - (fault code #24)"},
        {25, 2, " - Message Transmitting Busy      - (fault code #25)"},
        {26, 2, " - Divide-By-Zero Error      - (fault code #26)"},
        {27, 2, " - Caused by Register#2      - (fault code #27)"},
        {28, 2, " - Watch dog / Hardware Fault      - (fault code #28)"},
        {29, 2, " - Error Network Fault      - (fault code #29)"},
        {30, 2, " - Network Access Timeout      - (fault code #30)"},
        {31, 2, " - Network Access Busy      - (fault code #31)"},
        {32, 2, " - Network Request Lost      - (fault code #32)"},
        {33, 2, " - Network Bad Response      - (fault code #33)"},
        {34, 2, " - Network Bad Return Message      - (fault code #34)"},
        {35, 2, " - Comm Port#2 Does Not Exist      - (fault code #35)"},
        {36, 2, " - Comm Protocol Error      - (fault code #36)"},
        {37, 2, " - Flag#2 Does Not Exist      - (fault code #37)"},
        {38, 2, " - Out of Delay Timers      - (fault code #38)"},
        {39, 2, " - Out of Soft Counters      - (fault code #39)"},
        {27, 0, " - Data Out Of Range      - (fault code #27)"},
        {27, -3, " - Data Out Of Range      - (fault code #27)"},
        {13, 100, " - Register# 100 does NOT exist      - (fault code #13)"},
        {13, -4, " - Register#-4 does NOT exist      - (fault code #13)"},
        {18, -3, " - Analog Input#-3 does NOT exist      - (fault code #18)"},
        {10, -1, " - Servo# 0 does NOT exist      - (fault code #10)"},
        {11, -2, " - Servo#-1 Is Not Ready      - (fault code #11)"},
        {0, 0, " - Unknown Error      - (fault code #0)"},
        {40, 1, " - Unknown Error      - (fault code #40)"},
        {-5, 0, " - Unknown Error      - (fault code #-5)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FaultCodeText(c.code, c.datum), QString::fromLatin1(c.text))
            << "code " << c.code << ", datum " << c.datum;
}

TEST(LibError, FetchFillsTheSharedRecordAndTheTextIsShownAsStored) {
    FakeZelLibrary lib;
    AppState state;
    state.connection.CommHandle = 9;
    lib.setError(216, "Resource not present");

    EXPECT_EQ(fetchLibError(lib, state), 1);

    EXPECT_EQ(lib.calls(), QStringList({"ZlGetErrorInfo(9)"}));
    EXPECT_EQ(state.LibError.code, 216);
    ASSERT_EQ(state.LibError.text.size(), 255);
    EXPECT_EQ(failureText("Failed to update register value!", state.LibError),
              "Failed to update register value!\nResource not present" + QString(235, u' '));
    EXPECT_TRUE(isAbsentResource(1, state.LibError));
}

TEST(LibError, AbsentResourceNeedsBothTheCodeAndASuccessfulFetch) {
    FakeZelLibrary lib;
    AppState state;
    state.LibError = {216, "old"};
    lib.setError(104, "No reply from controller");
    lib.queueResults(ZelCall::GetErrorInfo, {0});

    const int32_t fetched = fetchLibError(lib, state);

    EXPECT_EQ(state.LibError.text, "old");  // a failed fetch fills nothing
    EXPECT_FALSE(isAbsentResource(fetched, state.LibError));
    EXPECT_FALSE(isAbsentResource(1, {104, {}}));
}

}  // namespace
}  // namespace zel
