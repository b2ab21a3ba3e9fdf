// What the plot draws and reads out: the thinned series, the cursor's readings and the CSV
// export.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "tests/support/file_bytes.h"
#include "trends/decimation.h"
#include "trends/trend_export.h"
#include "trends/trend_readout.h"

using namespace zel;

namespace {

constexpr qint64 kNoon = 1717243200000;  // 2024-06-01T12:00:00.000Z

std::deque<TrendSample> samples(std::initializer_list<std::pair<qint64, int32_t>> list) {
    std::deque<TrendSample> out;
    for (auto [t, v] : list) out.push_back({t, v});
    return out;
}

std::vector<std::pair<qint64, int32_t>> pairs(const std::vector<TrendSample>& list) {
    std::vector<std::pair<qint64, int32_t>> out;
    for (const TrendSample& s : list) out.emplace_back(s.msecs, s.value);
    return out;
}

TrendSeries series(const char* name, std::initializer_list<std::pair<qint64, int32_t>> list) {
    return {{QString::fromUtf8(name), TrendSource::reg(1)}, samples(list)};
}

}  // namespace

TEST(Decimation, KeepsEachColumnsLowAndHighInOrderAndTheNeighboursOutside) {
    // Two columns of 10 ms over 0..20, with one sample before and one after.
    const auto history = samples({{-5, 50},
                                  {0, 3},
                                  {2, 9},
                                  {4, -4},
                                  {6, 7},
                                  {8, 1},
                                  {10, 2},
                                  {12, -8},
                                  {14, -8},
                                  {16, 5},
                                  {18, 0},
                                  {25, 60},
                                  {30, 70}});
    using P = std::vector<std::pair<qint64, int32_t>>;
    EXPECT_EQ(pairs(decimate(history, 0, 20, 2)),
              (P{{-5, 50}, {2, 9}, {4, -4}, {12, -8}, {16, 5}, {25, 60}}));
    // A column with one sample keeps it once; a span of few samples comes back whole.
    EXPECT_EQ(pairs(decimate(samples({{0, 1}, {1, 2}, {2, 3}, {3, 4}, {15, 5}}), 0, 20, 2)),
              (P{{0, 1}, {3, 4}, {15, 5}}));
    EXPECT_EQ(pairs(decimate(samples({{0, 1}, {15, 5}, {30, 6}}), 0, 20, 2)),
              (P{{0, 1}, {15, 5}, {30, 6}}));
    EXPECT_TRUE(decimate({}, 0, 20, 2).empty());
}

TEST(TrendReadout, ReadsEachSeriesAtItsNearestSampleTheEarlierOnATie) {
    const std::vector<TrendSeries> set{series("a", {{100, 1}, {200, 2}, {300, 3}}),
                                       series("b", {{150, -1}, {250, -2}}), series("c", {})};
    struct Case {
        qint64 at;
        std::optional<int32_t> a, b;
    };
    for (const Case& c :
         {Case{0, 1, -1}, Case{149, 1, -1}, Case{150, 1, -1}, Case{151, 2, -1}, Case{200, 2, -1},
          Case{201, 2, -2}, Case{260, 3, -2}, Case{9999, 3, -2}}) {
        const auto r = readAt(set, c.at);
        ASSERT_EQ(r.size(), 3U);
        EXPECT_EQ(r[0] ? std::optional(r[0]->value) : std::nullopt, c.a) << c.at;
        EXPECT_EQ(r[1] ? std::optional(r[1]->value) : std::nullopt, c.b) << c.at;
        EXPECT_FALSE(r[2]) << c.at;
    }
    EXPECT_EQ(readAt(set, 240)[1]->msecs, 250);
}

TEST(TrendExport, TwoSeriesMergeByTimeLeavingMissingFieldsEmpty) {
    const std::vector<TrendSeries> set{
        series("Register 120", {{kNoon, 120}, {kNoon + 100, 121}, {kNoon + 300, -5}}),
        series("say \"hi\"", {{kNoon + 100, 7}, {kNoon + 200, 8}})};
    const QByteArray expected =
        "time,\"Register 120\",\"say \"\"hi\"\"\"\n"
        "2024-06-01T12:00:00.000Z,120,\n"
        "2024-06-01T12:00:00.100Z,121,7\n"
        "2024-06-01T12:00:00.200Z,,8\n"
        "2024-06-01T12:00:00.300Z,-5,\n";
    EXPECT_EQ(trendCsv(set), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("trend.csv"));
    EXPECT_EQ(exportTrendCsv(path, set), QStringLiteral("Trend exported to %1.").arg(path));
    EXPECT_EQ(test::readBytes(path), expected);
    const QString nowhere = dir.filePath(QStringLiteral("gone/trend.csv"));
    EXPECT_TRUE(exportTrendCsv(nowhere, set)
                    .startsWith(QStringLiteral("Could not export the trend to %1: ").arg(nowhere)));
}
