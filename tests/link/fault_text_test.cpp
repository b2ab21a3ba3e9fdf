#include <gtest/gtest.h>

#include "link/fake/fake_zel_library.h"
#include "link/fault_text.h"
#include "link/lib_error.h"

namespace zel {
namespace {

// One case for each way a datum is shown, and the edges of the known codes.
TEST(FaultCodeText, PhrasesAndDatumFormats) {
    const struct {
        int32_t code;
        int32_t datum;
        const char* phrase;
    } cases[] = {
        {27, 0, " - Data Out Of Range"},
        {27, -3, " - Data Out Of Range"},
        {27, 5, " - Caused by Register#5"},
        {13, 100, " - Register# 100 does NOT exist"},
        {13, -4, " - Register#-4 does NOT exist"},
        {18, 3, " - Analog Input#3 does NOT exist"},
        {10, -1, " - Servo# 0 does NOT exist"},
        {11, -2, " - Servo#-1 Is Not Ready"},
        {36, 9, " - Comm Protocol Error"},
        {39, 0, " - Out of Soft Counters"},
        {0, 0, " - Unknown Error"},
        {40, 1, " - Unknown Error"},
        {-5, 0, " - Unknown Error"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FaultCodeText(c.code, c.datum),
                  QString(c.phrase) + "      - (fault code #" + QString::number(c.code) + ")");
    }
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
    lib.queueResults("ZlGetErrorInfo", {0});

    const int32_t fetched = fetchLibError(lib, state);

    EXPECT_EQ(state.LibError.text, "old");  // a failed fetch fills nothing
    EXPECT_FALSE(isAbsentResource(fetched, state.LibError));
    EXPECT_FALSE(isAbsentResource(1, {104, {}}));
}

}  // namespace
}  // namespace zel
