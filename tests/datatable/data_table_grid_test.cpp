// The grid over the shared table: what it shows, what an edit or a pasted block does to the
// table, and a resize that keeps what fits.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "datatable/data_table_grid.h"

using namespace zel;

namespace {

// A 3 x 3 table holding 10 * row + column.
DataTable numbered() {
    DataTable t;
    t.resize(3, 3);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) t.setValue(r, c, 10 * r + c);
    return t;
}

}  // namespace

TEST(DataTableGrid, ShowsRowNumbersValuesAndTheMessageAndTakesOnlyCellValues) {
    DataTable table = numbered();
    DataTableGrid grid(table);
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(grid.columnCount(), 5);
    EXPECT_EQ(grid.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Row #");
    EXPECT_EQ(grid.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "3");
    EXPECT_EQ(grid.data(grid.index(1, 0), Qt::DisplayRole).toString(), "2");
    EXPECT_EQ(grid.data(grid.index(1, 2), Qt::DisplayRole).toString(), "22");
    EXPECT_EQ(grid.columnWidthTwips(0), 600);
    EXPECT_EQ(grid.columnWidthTwips(2), 800);
    EXPECT_EQ(grid.columnWidthTwips(4), 2500);

    EXPECT_FALSE(grid.setData(grid.index(0, 1), "70000", Qt::EditRole));
    EXPECT_EQ(table.value(1, 1), 11);
    EXPECT_FALSE(grid.setData(grid.index(0, 0), "5", Qt::EditRole));
    ASSERT_TRUE(grid.setData(grid.index(0, 4), "ABC", Qt::EditRole));
    EXPECT_EQ(table.value(1, 1), 65);
    EXPECT_EQ(table.value(1, 3), 67);
    EXPECT_EQ(grid.data(grid.index(0, 4), Qt::DisplayRole).toString(), "ABC ");

    DataTable empty;
    DataTableGrid none(empty);
    EXPECT_EQ(none.columnCount(), 1);
}

TEST(DataTableGrid, CopiesTabSeparatedAndPastesABlockOnlyWhenEveryCellFits) {
    DataTable table = numbered();
    DataTableGrid grid(table);
    EXPECT_EQ(grid.copyText({grid.index(0, 1), grid.index(0, 2), grid.index(1, 1), grid.index(1, 2)}),
              "11\t12\n21\t22\n");

    EXPECT_FALSE(grid.paste(grid.index(1, 2), "1\t2\r\n3\t4\r\n"));
    EXPECT_EQ(table.value(2, 2), 1);
    EXPECT_EQ(table.value(3, 3), 4);

    // A bad cell anywhere refuses the whole block, naming the first.
    const DataTable before = table;
    EXPECT_EQ(grid.paste(grid.index(0, 1), "5\t6\n7\t70000\n"),
              "Cannot paste \"70000\" into row 2, column 2: a cell takes 0 to 65535.");
    EXPECT_EQ(grid.paste(grid.index(2, 3), "1\t2\n"),
              "The pasted block reaches past the table at row 3, column 4.");
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) EXPECT_EQ(table.value(r, c), before.value(r, c));
}

TEST(DataTableGrid, OnlyAValueCellIsTrendedByItsRowAndColumn) {
    DataTable table = numbered();
    const DataTableGrid grid(table);
    const std::optional<TrendItem> cell = grid.trendItem(grid.index(1, 3));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->name, QStringLiteral("Table Cell 2,3"));
    EXPECT_EQ(cell->source, TrendSource::tableCell(2, 3));
    for (const QModelIndex& other : {grid.index(1, 0), grid.index(1, 4), QModelIndex()})
        EXPECT_FALSE(grid.trendItem(other)) << other.column();
}

TEST(DataTable, ResizingKeepsWhatFitsAndFillsTheRestWithZero) {
    DataTable table = numbered();
    table.resizeKeeping(3, 2);
    table.resizeKeeping(4, 3);
    EXPECT_EQ(table.TableRows, 4);
    EXPECT_EQ(table.TableColCount, 4);
    EXPECT_EQ(table.value(3, 2), 32);
    EXPECT_EQ(table.value(3, 3), 0);
    EXPECT_EQ(table.value(4, 1), 0);
}
