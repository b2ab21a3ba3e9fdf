// The trend window shows the series of the trended set, by name, with their samples.
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QTemporaryDir>

#include "settings/first_run.h"
#include "trends/frm_trend.h"

using namespace zel;

TEST(FrmTrend, ShowsTheSeriesOfTheSet) {
    TrendSet set;
    set.add({QStringLiteral("Register 120"), TrendSource::reg(120)});
    set.add({QStringLiteral("Flag 3"), TrendSource::bit(2001, 3)});
    constexpr qint64 kNoon = 1717243200000;
    for (int n = 0; n < 10; ++n) {
        set.record(0, {kNoon + n * 100, n});
        set.record(1, {kNoon + n * 100, n % 2});
    }
    QStringList messages;
    QTemporaryDir dir;
    settings::SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    store.load(settings::firstRunSettings());
    frmTrend form(set, store, [&](const QString& t) { messages << t; });
    form.open();
    auto* plot = form.findChild<QCustomPlot*>(QStringLiteral("Plot"));
    ASSERT_NE(plot, nullptr);
    ASSERT_EQ(plot->graphCount(), 2);
    EXPECT_EQ(plot->graph(0)->name(), QStringLiteral("Register 120"));
    EXPECT_EQ(plot->graph(1)->name(), QStringLiteral("Flag 3"));
    EXPECT_EQ(plot->graph(0)->dataCount(), 10);
    EXPECT_EQ(plot->graph(1)->data()->at(3)->value, 1.0);
    EXPECT_EQ(plot->xAxis->range().upper, (kNoon + 900) / 1000.0);

    // A new sample shows at the next frame, not while paused.
    form.findChild<QPushButton*>(QStringLiteral("Pause"))->setChecked(true);
    set.record(0, {kNoon + 1000, 42});
    form.redrawIfChanged();
    EXPECT_EQ(plot->graph(0)->dataCount(), 10);
    form.findChild<QPushButton*>(QStringLiteral("Pause"))->setChecked(false);
    EXPECT_EQ(plot->graph(0)->dataCount(), 11);
    EXPECT_TRUE(messages.isEmpty());
}
