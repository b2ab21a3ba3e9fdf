#include "datatable/data_table_grid.h"

#include <QStringList>
#include <algorithm>
#include <map>

#include "datatable/row_text.h"
#include "link/link_claim.h"

namespace zel {
namespace {

constexpr int kRowNumberTwips = 600;
constexpr int kValueTwips = 800;
constexpr int kMessageTwips = 2500;

}  // namespace

DataTableGrid::DataTableGrid(DataTable& table, const TableTransfer* transfer, QObject* parent)
    : QAbstractTableModel(parent), table_(table), transfer_(transfer) {}

int DataTableGrid::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.TableRows;
}

// Without a table the grid shows only "Row #".
int DataTableGrid::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return table_.columns() > 0 ? table_.columns() + 2 : 1;
}

QVariant DataTableGrid::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= table_.TableRows) return {};
    const int32_t row = index.row() + 1;
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        if (column == 0) return int(Qt::AlignCenter);
        if (column == messageColumn()) return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    if (column == 0) return QString::number(row);
    if (column == messageColumn()) return RowToText(table_, row);
    return QString::number(table_.value(row, column));
}

QVariant DataTableGrid::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    if (section == 0) return QStringLiteral("Row #");
    if (section == messageColumn()) return QStringLiteral("Message");
    return QString::number(section);
}

Qt::ItemFlags DataTableGrid::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == 0 || locked() ? shown : shown | Qt::ItemIsEditable;
}

bool DataTableGrid::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() == 0 || locked()) return false;
    const int32_t row = index.row() + 1;
    if (index.column() == messageColumn()) {
        TextToRow(table_, row, value.toString());
    } else if (!applyCellText(table_, row, index.column(), value.toString())) {
        return false;
    }
    emit dataChanged(this->index(index.row(), 1), this->index(index.row(), messageColumn()));
    return true;
}

void DataTableGrid::rebuild() {
    beginResetModel();
    endResetModel();
}

void DataTableGrid::rowsRead(int32_t first, int32_t last) {
    first = std::max(first, 1);
    last = std::min(last, table_.TableRows);
    if (first > last) return;
    emit dataChanged(index(first - 1, 0), index(last - 1, columnCount() - 1));
}

int DataTableGrid::columnWidthTwips(int column) const {
    if (column == 0) return kRowNumberTwips;
    return column == messageColumn() ? kMessageTwips : kValueTwips;
}

QString DataTableGrid::copyText(const QModelIndexList& selection) const {
    std::map<int, std::map<int, QString>> cells;
    for (const QModelIndex& i : selection) cells[i.row()][i.column()] = data(i, Qt::DisplayRole).toString();
    if (cells.empty()) return {};
    int left = columnCount();
    int right = 0;
    for (const auto& [row, columns] : cells) {
        left = std::min(left, columns.begin()->first);
        right = std::max(right, columns.rbegin()->first);
    }
    QStringList lines;
    for (const auto& [row, columns] : cells) {
        QStringList fields;
        for (int c = left; c <= right; ++c) {
            const auto cell = columns.find(c);
            fields << (cell == columns.end() ? QString() : cell->second);
        }
        lines << fields.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

std::optional<QString> DataTableGrid::paste(const QModelIndex& at, const QString& text) {
    if (locked()) return kLinkClaimedMessage;
    if (!at.isValid() || at.column() == 0) return QStringLiteral("Choose a cell of the table to paste into.");
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r')) line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    // A block within one Message cell is that cell's text; anything else fills value cells.
    const bool message = at.column() == messageColumn();
    if (message && lines.size() == 1 && !lines.first().contains(u'\t')) {
        setData(at, lines.first(), Qt::EditRole);
        return std::nullopt;
    }
    struct Cell {
        int32_t row;
        int32_t column;
        int32_t value;
    };
    std::vector<Cell> cells;
    for (int l = 0; l < lines.size(); ++l) {
        const QStringList fields = lines[l].split(u'\t');
        for (int f = 0; f < fields.size(); ++f) {
            const int32_t row = at.row() + 1 + l;
            const int32_t column = at.column() + f;
            const QString where = QStringLiteral("row %1, column %2").arg(row).arg(column);
            if (row > table_.TableRows || column > table_.columns())
                return QStringLiteral("The pasted block reaches past the table at %1.").arg(where);
            bool ok = false;
            const uint value = fields[f].trimmed().toUInt(&ok);
            if (!ok || value > 65535)
                return QStringLiteral("Cannot paste \"%1\" into %2: a cell takes 0 to 65535.")
                    .arg(fields[f].trimmed(), where);
            cells.push_back({row, column, static_cast<int32_t>(value)});
        }
    }
    for (const Cell& c : cells) table_.setValue(c.row, c.column, c.value);
    if (!cells.empty()) rowsRead(cells.front().row, cells.back().row);
    return std::nullopt;
}

void DataTableGrid::clear(const QModelIndexList& selection) {
    if (locked()) return;
    for (const QModelIndex& i : selection) {
        if (i.column() < 1 || i.column() > table_.columns()) continue;
        table_.setValue(i.row() + 1, i.column(), 0);
        rowsRead(i.row() + 1, i.row() + 1);
    }
}

std::optional<TrendItem> DataTableGrid::trendItem(const QModelIndex& cell) const {
    if (!cell.isValid() || cell.row() >= table_.TableRows || cell.column() < 1 ||
        cell.column() > table_.columns())
        return std::nullopt;
    const int32_t row = cell.row() + 1;
    return TrendItem{QStringLiteral("Table Cell %1,%2").arg(row).arg(cell.column()),
                     TrendSource::tableCell(row, cell.column())};
}

}  // namespace zel
