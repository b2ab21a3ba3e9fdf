// The clock window's part of the tick with a fixed PC clock: reading the clock registers and
// the sync.
#include <gtest/gtest.h>

#include "windows/clock_window_model.h"
#include "link/fake/fake_zel_library.h"

using namespace zel;

namespace {

class ClockWindow : public ::testing::Test {
protected:
    FakeZelLibrary fake;
    AppState state;
    ClockWindowModel::Display shown;
    ClockWindowModel model{state, [this](const ClockWindowModel::Display& d) { shown = d; },
                           [] { return QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)); }};
    PollContext context{state, fake, [] {}};

    void SetUp() override {
        state.connection.CommHandle = FakeZelLibrary::kHandle;
        state.connection.ModelCode = 5;
        state.flags.NoCommunication = state.flags.CommErrorFlag = false;
        for (int32_t r = 13014; r <= 13020; ++r) fake.setRegister(r, r - 13000);
        model.load();
    }
    QStringList writes() const { return fake.callsTo(ZelCall::PutRegister); }
};

const QStringList kLatchedSync = {
    "ZlPutRegister(7, 13013, 1)",  "ZlPutRegister(7, 13014, 9)", "ZlPutRegister(7, 13015, 5)",
    "ZlPutRegister(7, 13016, 14)", "ZlPutRegister(7, 13017, 7)", "ZlPutRegister(7, 13018, 3)",
    "ZlPutRegister(7, 13019, 26)", "ZlPutRegister(7, 13020, 7)", "ZlPutRegister(7, 13013, 0)"};

}  // namespace

TEST_F(ClockWindow, AFailedReadShowsAStarInItsBoxOnly) {
    fake.setResponder(ZelCall::GetRegister,
                      [](const QVector<int32_t>& a) { return a[1] != 13016; });
    fake.setError(216, "Not present");
    model.refresh(context);
    EXPECT_EQ(shown.fields, (std::array<QString, 7>{"14", "15", "*", "17", "18", "19", "20"}));
    EXPECT_FALSE(state.flags.CommErrorFlag) << "216 is tolerated";
    fake.setError(104, "Timeout");
    model.refresh(context);
    EXPECT_TRUE(state.flags.CommErrorFlag);
    EXPECT_TRUE(writes().isEmpty());
}

TEST_F(ClockWindow, OtherModelsSyncWithoutTheLatchAndAFailedWriteStopsNothing) {
    state.connection.ModelCode = 10;
    fake.queueResults(ZelCall::PutRegister, {0});
    model.requestSync();
    model.refresh(context);
    EXPECT_EQ(writes(), kLatchedSync.mid(1, 7));
    EXPECT_EQ(fake.callsTo(ZelCall::GetErrorInfo).size(), 1);
    EXPECT_FALSE(state.flags.CommErrorFlag) << "a failed write is no link failure";
}

// Two presses before a tick sync once, with the latch on model 5, even across a close.
TEST_F(ClockWindow, ARequestPendingAtCloseWaitsForTheWindowToOpenAgain) {
    model.requestSync();
    model.requestSync();
    model.unload();
    EXPECT_FALSE(model.isOpen());
    model.load();
    model.refresh(context);
    model.refresh(context);
    EXPECT_EQ(writes(), kLatchedSync);
    EXPECT_EQ(clockSyncValues(QDateTime(QDate(2000, 12, 31), QTime(23, 59, 58))),
              (ClockValues{58, 59, 23, 31, 12, 0, 1}))
        << "Sunday is day 1";
}
