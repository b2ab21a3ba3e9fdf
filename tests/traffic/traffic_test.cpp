// The record of library calls: the ring keeps its bound under pushes from two threads, the
// filters select by call, registers and failure, and the saved text has a line per call.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <thread>

#include "link/fake/fake_zel_library.h"
#include "tests/support/file_bytes.h"
#include "traffic/traffic_model.h"

using namespace zel;

namespace {

QStringList column(const TrafficModel& model, TrafficModel::Column c) {
    QStringList cells;
    for (int r = 0; r < model.shownCount(); ++r) cells << model.cell(r, c);
    return cells;
}

// The ring itself, not the recorder: the library's test double is not made for two threads.
TEST(Traffic, RingKeepsItsBoundUnderPushesFromTwoThreads) {
    TrafficRing ring(64);
    auto pushes = [&ring](ZelCall call) {
        for (int i = 0; i < 5000; ++i) {
            TrafficEntry entry;
            entry.call = call;
            ring.push(entry);
        }
    };
    std::thread worker(pushes, ZelCall::PutRegister);
    pushes(ZelCall::GetRegister);
    worker.join();
    TrafficEntry last;
    last.call = ZelCall::GetStatus;
    ring.push(last);

    const std::vector<TrafficEntry> kept = ring.entries();
    EXPECT_EQ(kept.size(), 64u);
    EXPECT_EQ(ring.pushed(), 10001u);
    EXPECT_EQ(kept.back().call, ZelCall::GetStatus);
}

TEST(Traffic, NothingIsRecordedWhileTheWindowIsClosed) {
    FakeZelLibrary fake;
    RecordingZelLibrary lib(fake);
    TrafficModel model(lib);
    int32_t value = 0;
    lib.ZlGetRegister(FakeZelLibrary::kHandle, 5, value);
    model.open();
    lib.ZlGetRegister(FakeZelLibrary::kHandle, 6, value);
    model.close();
    lib.ZlGetRegister(FakeZelLibrary::kHandle, 7, value);
    model.refresh();
    EXPECT_EQ(column(model, TrafficModel::Arguments), QStringList({"7, 6"}));
}

struct FilterCase {
    const char* name;
    std::optional<ZelCall> call;
    QString range;
    bool failuresOnly;
    QStringList calls;  // the shown calls' names and arguments
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.name; }

class TrafficFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(TrafficFilters, SelectTheMatchingCalls) {
    FakeZelLibrary fake;
    fake.queueResults(ZelCall::PutRegister, {0});
    fake.setDefaultResult(ZelCall::SendAscii, 3);  // the count of reply bytes: a success
    fake.setError(202, QStringLiteral("Illegal register"));
    RecordingZelLibrary lib(fake);
    TrafficModel model(lib);
    model.open();
    int32_t value = 0;
    std::array<int32_t, 16> sixteen{};
    QByteArray reply;
    lib.ZlGetRegister(7, 10, value);
    lib.ZlPutRegister(7, 30, 1);          // refused
    lib.ZlGetRegister16(7, 20, sixteen);  // registers 20..35
    lib.ZlPutFlag(7, 30, 1);
    lib.ZlSendAscii(7, "?\r", 2, reply, '\r');

    const FilterCase& c = GetParam();
    model.setCall(c.call);
    ASSERT_TRUE(model.setRangeText(c.range));
    model.setFailuresOnly(c.failuresOnly);
    model.refresh();
    QStringList shown;
    for (int r = 0; r < model.shownCount(); ++r)
        shown << model.cell(r, TrafficModel::Call) + "(" + model.cell(r, TrafficModel::Arguments) + ")";
    EXPECT_EQ(shown, c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    ByCallRangeAndFailure, TrafficFilters,
    ::testing::Values(
        FilterCase{"all", std::nullopt, "", false,
                   {"ZlGetRegister(7, 10)", "ZlPutRegister(7, 30, 1)", "ZlGetRegister16(7, 20)",
                    "ZlPutFlag(7, 30, 1)", "ZlSendAscii(7, 2, 13)"}},
        FilterCase{"call", ZelCall::GetRegister, "", false, {"ZlGetRegister(7, 10)"}},
        FilterCase{"one register", std::nullopt, "30", false,
                   {"ZlPutRegister(7, 30, 1)", "ZlGetRegister16(7, 20)"}},
        FilterCase{"reversed range", std::nullopt, "36 - 35", false, {"ZlGetRegister16(7, 20)"}},
        FilterCase{"range below", std::nullopt, "1-9", false, {}},
        FilterCase{"failures", std::nullopt, "", true, {"ZlPutRegister(7, 30, 1)"}},
        FilterCase{"call and range", ZelCall::GetRegister16, "10-19", false, {}}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.name);
        return name.replace(u' ', u'_').toStdString();
    });

TEST(Traffic, RangeTextThatIsNoRangeIsRefusedAndTheRangeKept) {
    FakeZelLibrary fake;
    RecordingZelLibrary lib(fake);
    TrafficModel model(lib);
    ASSERT_TRUE(model.setRangeText(QStringLiteral("100-120")));
    for (const char* text : {"abc", "5-", "-5", "1-2-3", "99999999999"})
        EXPECT_FALSE(model.setRangeText(QString::fromLatin1(text))) << text;
    EXPECT_EQ(model.rangeText(), "100-120");
}

TEST(Traffic, SavedTextHasOneLinePerShownCall) {
    FakeZelLibrary fake;
    fake.queueResults(ZelCall::GetRegister, {1, 0});
    fake.setError(202, QStringLiteral("Illegal register"));
    RecordingZelLibrary lib(fake);
    TrafficModel model(lib);
    model.open();
    int32_t value = 0;
    lib.ZlGetRegister(7, 1, value);
    lib.ZlGetRegister(7, 2, value);
    model.setCall(ZelCall::GetRegister);
    model.refresh();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("traffic.txt"));
    ASSERT_EQ(model.save(path), std::nullopt);

    const QStringList lines = QString::fromUtf8(test::readBytes(path)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    // Time, call, arguments, result, error, duration.
    EXPECT_EQ(lines[0].section(u'\t', 1, 4), "ZlGetRegister\t7, 1\t1\t");
    EXPECT_EQ(lines[1].section(u'\t', 1, 4), "ZlGetRegister\t7, 2\t0\t202 Illegal register");
    EXPECT_TRUE(lines[1].section(u'\t', 5).endsWith(" ms"));

    // A file where the folder should be.
    ASSERT_TRUE(test::writeBytes(dir.filePath(QStringLiteral("blocker")), {}));
    const QString blocked = dir.filePath(QStringLiteral("blocker/traffic.txt"));
    const std::optional<QString> error = model.save(blocked);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->startsWith("Cannot save traffic file \"" + blocked + "\": ")) << error->toStdString();
}

}  // namespace
