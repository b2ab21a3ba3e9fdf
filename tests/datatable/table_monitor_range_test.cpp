// The monitor setup window's fields: row clamps, the two interval floors, the first key.
#include <gtest/gtest.h>

#include "common/key_codes.h"
#include "datatable/table_monitor_range.h"

using namespace zel;

namespace {

struct MonitorSetup {
    MonitorSetup() {
        table.resize(10, 4);
        range.open();
    }
    // Keys as the form passes them on, the field's text after each as the user sees it.
    void type(MonitorField field, const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            EXPECT_FALSE(range.keyPress(field, text[i].unicode()));
            range.setText(field, text.left(i + 1));
        }
    }
    void enter(MonitorField field, const QString& text) {
        type(field, text);
        EXPECT_TRUE(range.keyPress(field, kEnterKey));
    }
    void leave(MonitorField field, const QString& text) {
        type(field, text);
        range.leave(field);
    }

    DataTable table;
    std::vector<int16_t> timer;
    TableMonitorRange range{table, [this](int16_t ms) { timer.push_back(ms); }};
};

}  // namespace

TEST(TableMonitorRange, RowsClampToTheTableAndMayCross) {
    const struct {
        MonitorField field;
        QString text;
        bool byEnter;
        int16_t start, end;
    } cases[] = {
        {MonitorField::StartRow, QStringLiteral("0"), true, 1, 1},
        {MonitorField::EndRow, QStringLiteral("50"), true, 1, 10},
        {MonitorField::EndRow, QStringLiteral("abc"), false, 1, 1},
        {MonitorField::StartRow, QStringLiteral("8"), false, 8, 1},
        {MonitorField::EndRow, QStringLiteral("3"), true, 1, 3},
        {MonitorField::EndRow, QStringLiteral("6.5"), true, 1, 6},
    };
    for (const auto& c : cases) {
        MonitorSetup s;
        if (c.byEnter) s.enter(c.field, c.text);
        else s.leave(c.field, c.text);
        EXPECT_EQ(s.table.TableMonStartRow, c.start) << c.text.toStdString();
        EXPECT_EQ(s.table.TableMonEndRow, c.end) << c.text.toStdString();
        EXPECT_EQ(s.range.text(c.field), c.text) << "the field's text stays as typed";
        EXPECT_TRUE(s.timer.empty());
    }
}

TEST(TableMonitorRange, IntervalFloorsDifferBetweenEnterAndLeaving) {
    const struct {
        QString text;
        bool byEnter;
        int16_t interval;
    } cases[] = {
        {QStringLiteral("5"), true, 10},
        {QStringLiteral("5"), false, 25},
        {QStringLiteral("12"), true, 12},
        {QStringLiteral("40000"), false, 32000},
        {QStringLiteral("2500.5"), true, 2500},
        {QString(), true, 10},
    };
    for (const auto& c : cases) {
        MonitorSetup s;
        if (c.byEnter) s.enter(MonitorField::Interval, c.text);
        else s.leave(MonitorField::Interval, c.text);
        EXPECT_EQ(s.table.TableMonInterval, c.interval) << c.text.toStdString();
        EXPECT_EQ(s.timer, std::vector<int16_t>{c.interval}) << c.text.toStdString();
    }
}

TEST(TableMonitorRange, OpensWithTheCurrentValuesAndTheFirstKeyAfterApplyingEmptiesAField) {
    MonitorSetup s;
    s.table.TableMonStartRow = 3;
    s.table.TableMonEndRow = 7;
    s.range.open();
    EXPECT_EQ(s.range.text(MonitorField::Interval), "2000");
    EXPECT_EQ(s.range.text(MonitorField::StartRow), "3");
    EXPECT_EQ(s.range.text(MonitorField::EndRow), "7");

    EXPECT_FALSE(s.range.keyPress(MonitorField::StartRow, u'4'));
    EXPECT_EQ(s.range.text(MonitorField::StartRow), "");
    s.range.setText(MonitorField::StartRow, QStringLiteral("4"));
    EXPECT_FALSE(s.range.keyPress(MonitorField::EndRow, u'9'));
    EXPECT_EQ(s.range.text(MonitorField::EndRow), "7") << "one first key for the window";
    s.range.leave(MonitorField::StartRow);
    EXPECT_EQ(s.table.TableMonStartRow, 4);
    s.range.keyPress(MonitorField::EndRow, u'9');
    EXPECT_EQ(s.range.text(MonitorField::EndRow), "") << "applying made the next key first";
}
