// The data table as the grid shows it: "Row #", the data columns 1..C and the "Message" column,
// fed on demand from the one shared table (the grid keeps no copy). Edits follow the table's
// rules: a value cell takes 0..65535 or keeps its value, the Message column writes its text
// back into the row. While a transfer of the table runs the grid takes no edit.
#pragma once

#include <QAbstractTableModel>
#include <QModelIndexList>
#include <optional>

#include "datatable/data_table.h"
#include "datatable/table_transfer.h"
#include "trends/trend_item.h"

namespace zel {

class DataTableGrid final : public QAbstractTableModel {
    Q_OBJECT
public:
    // `transfer`, when given, is the one whose run locks the grid.
    explicit DataTableGrid(DataTable& table, const TableTransfer* transfer = nullptr,
                           QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The table was re-read or resized: the grid's columns and rows follow it.
    void rebuild();
    // Rows first..last (1-based) were read again: they are redrawn.
    void rowsRead(int32_t first, int32_t last);

    // Width of a grid column in twips.
    int columnWidthTwips(int column) const;

    // The selected cells as tab-separated lines, row by row, for a spreadsheet.
    QString copyText(const QModelIndexList& selection) const;
    // Pastes tab-separated lines with their first cell at `at`. The whole block is checked
    // first: a value that is not 0..65535, or a cell outside the table, refuses it and changes
    // nothing; the message names the first bad cell.
    std::optional<QString> paste(const QModelIndex& at, const QString& text);
    // Empties the selected value cells (they become 0), as Cut does after copying.
    void clear(const QModelIndexList& selection);
    // Add to Trend on a value cell: "Table Cell 3,2" for row 3, column 2; none for the row
    // numbers, the Message column or no cell.
    std::optional<TrendItem> trendItem(const QModelIndex& cell) const;

private:
    int messageColumn() const { return table_.columns() + 1; }
    bool locked() const { return transfer_ && transfer_->running(); }

    DataTable& table_;
    const TableTransfer* transfer_;
};

}  // namespace zel
