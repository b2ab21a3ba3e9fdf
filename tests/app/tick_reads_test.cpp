// The tick's merged reads, checked by the calls that reach the library and the answers the
// windows' reads get: the same as when each register is read on its own.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/tick_read_cache.h"
#include "link/fake/fake_zel_library.h"
#include "link/recording_zel_library.h"
#include "resources/analog_window_model.h"
#include "resources/register_window_model.h"
#include "settings/first_run.h"
#include "tests/support/sim_link.h"

namespace zel {
namespace {

constexpr int32_t H = FakeZelLibrary::kHandle;

struct Rig {
    FakeZelLibrary lib;
    TickReadCache reads{lib};

    Rig() {
        for (int32_t n = 1; n <= 60; ++n) lib.setRegister(n, 100 + n);
    }

    // One tick reading `registers` one by one, as the windows do: what each read answered, a
    // failure as its error code negated. Returns the calls that reached the library.
    QStringList tick(const QList<int32_t>& registers, QList<int32_t>* answers = nullptr,
                     bool merge = true) {
        lib.clearCalls();
        reads.beginTick();
        reads.fetchLastTicksReads(H, merge);
        for (const int32_t n : registers) {
            int32_t value = 0;
            LibErrorRecord error;
            if (reads.ZlGetRegister(H, n, value) != 1 && reads.ZlGetErrorInfo(H, error) == 1)
                value = -error.code;
            if (answers) *answers << value;
        }
        reads.endTick();
        return lib.calls();
    }
};

QStringList singles(const QList<int32_t>& registers) {
    QStringList calls;
    for (const int32_t n : registers) calls << QStringLiteral("ZlGetRegister(7, %1)").arg(n);
    return calls;
}

TEST(TickReadsTest, TheNextTickFetchesInBlocksAndSeesWhatChanged) {
    Rig rig;
    const QList<int32_t> rows = {1, 11, 12, 13, 14};
    QList<int32_t> answers;
    EXPECT_EQ(rig.tick(rows, &answers), singles(rows));
    EXPECT_EQ(answers, QList<int32_t>({101, 111, 112, 113, 114}));
    rig.lib.setRegister(12, -5);
    answers.clear();
    EXPECT_EQ(rig.tick(rows, &answers), QStringList({"ZlGetRegister16(7, 1)"}));
    EXPECT_EQ(answers, QList<int32_t>({101, 111, -5, 113, 114}));
    // Turned off, each register is asked on its own.
    EXPECT_EQ(rig.tick(rows, nullptr, false), singles(rows));
}

// A block the controller refuses is not asked again on this link, and its registers are read on
// their own; a model that does not know block reads at all (201) gets single reads only. A
// register the controller lacks answers its own failure as before.
TEST(TickReadsTest, RefusedBlocksFallBackToSingleReads) {
    const QList<int32_t> rows = {1, 11, 12, 13, 14, 15};
    struct Case {
        int32_t code;
        QStringList thirdTick;
    };
    const Case cases[] = {
        {202, QStringList({"ZlGetRegister(7, 1)", "ZlGetRegister16(7, 11)", "ZlGetErrorInfo(7)"}) +
                  singles({11, 12, 13, 14, 15})},
        {201, singles(rows)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Rig rig;
        rig.lib.setError(c.code, QStringLiteral("refused"));
        rig.lib.setDefaultResult(ZelCall::GetRegister16, 0);
        rig.lib.setDefaultResult(ZelCall::GetRegister50, 0);
        rig.tick(rows);
        QList<int32_t> answers;
        EXPECT_EQ(rig.tick(rows, &answers),
                  QStringList({"ZlGetRegister16(7, 1)", "ZlGetErrorInfo(7)"}) + singles(rows));
        EXPECT_EQ(answers, QList<int32_t>({101, 111, 112, 113, 114, 115}));
        EXPECT_EQ(rig.tick(rows), c.thirdTick);
    }
    Rig rig;
    rig.lib.setError(216, QStringLiteral("not present"));
    rig.lib.setResponder(ZelCall::GetRegister,
                         [](const QVector<int32_t>& a) { return a[1] == 11 ? 0 : 1; });
    rig.tick({1, 11});
    QList<int32_t> answers;
    // Not asked again: the controller said it does not have it.
    EXPECT_EQ(rig.tick({1, 11}, &answers), singles({1}));
    EXPECT_EQ(answers, QList<int32_t>({101, -216}));
    EXPECT_EQ(rig.tick({1, 11}, nullptr, false), singles({1, 11}) << "ZlGetErrorInfo(7)");
}

// Once the link has failed in the batch, every register left answers that failure at once
// instead of waiting for the dead link again.
TEST(TickReadsTest, ALinkThatFailedIsNotWaitedForAgain) {
    Rig rig;
    const QList<int32_t> rows = {1, 11, 12, 13, 40};
    rig.tick(rows);
    rig.lib.setError(104, QStringLiteral("No reply from controller"));
    rig.lib.setDefaultResult(ZelCall::GetRegister16, 0);
    QList<int32_t> answers;
    EXPECT_EQ(rig.tick(rows, &answers),
              QStringList({"ZlGetRegister16(7, 1)", "ZlGetErrorInfo(7)"}));
    EXPECT_EQ(answers, QList<int32_t>({-104, -104, -104, -104, -104}));
}

// Against the simulator: channels the controller does not have show as they do when read one by
// one, and an older model that does not know block reads is read row by row after its refusal.
TEST(TickReadsEndToEnd, AbsentChannelsAndAnOlderModel) {
    QTemporaryDir dir;
    QFile demo(QStringLiteral(ZELSIM_DEMO_SCENARIO));
    ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
    const QString older = dir.filePath(QStringLiteral("older.json"));
    QFile olderFile(older);
    ASSERT_TRUE(olderFile.open(QIODevice::WriteOnly));
    olderFile.write(demo.readAll().replace("\"second\": 1", "\"second\": 1, \"block_reads\": false"));
    olderFile.close();
    for (const QString& scenario : {QStringLiteral(ZELSIM_DEMO_SCENARIO), older}) {
        SCOPED_TRACE(scenario.toStdString());
        test::SimLink link{scenario.toStdString()};
        ASSERT_GT(link.handle(), 0);
        RecordingZelLibrary recorder(link.lib);
        recorder.setRecording(true);
        TickReadCache reads(recorder);
        settings::SettingsStore store(dir.filePath(QStringLiteral("settings.conf")));
        store.load(settings::firstRunSettings());
        const ResourceServices services{link.state, reads, store, nullptr, {}, {}};
        AnalogWindowModel analog(services, AnalogKind::Inputs);
        RegisterWindowModel registers(services, RegisterBank::Lower);
        analog.open();
        registers.open();
        for (const bool merge : {false, true, true, true}) {
            reads.beginTick();
            reads.fetchLastTicksReads(link.handle(), merge);
            PollContext context(link.state, reads, [] {});
            analog.refresh(context);
            registers.refresh(context);
            reads.endTick();
            EXPECT_FALSE(link.state.flags.CommErrorFlag);
            EXPECT_EQ(registers.row(2).value, QStringLiteral("-5"));
            EXPECT_NE(analog.row(7).value, QStringLiteral("N/A"));
            EXPECT_EQ(analog.row(8).value, QStringLiteral("N/A"));
        }
        int blocks = 0, refused = 0;
        for (const TrafficEntry& e : recorder.ring().entries()) {
            if (e.call != ZelCall::GetRegister16 && e.call != ZelCall::GetRegister50) continue;
            ++blocks;
            refused += e.failed ? 1 : 0;
        }
        // The registers' page in a block of sixteen from the second tick on; the analog page has
        // absent rows after its eighth, so its present ones are read on their own.
        EXPECT_EQ(refused, scenario == older ? 1 : 0);
        EXPECT_EQ(blocks, scenario == older ? 1 : 3);
    }
}

}  // namespace
}  // namespace zel
