#include "traffic/traffic_model.h"

#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>

#include "settings/settings_file.h"

namespace zel {

bool TrafficFilter::accepts(const TrafficEntry& entry) const {
    if (call && entry.call != *call) return false;
    if (failuresOnly && !entry.failed) return false;
    return !low || entry.touchesRegisters(*low, *high);
}

TrafficModel::TrafficModel(RecordingZelLibrary& library) : library_(library) {}

void TrafficModel::open() {
    library_.setRecording(true);
    refresh();
}

void TrafficModel::close() {
    library_.setRecording(false);
}

void TrafficModel::setRange(std::optional<int32_t> low, std::optional<int32_t> high) {
    if (!low || !high) {
        filter_.low.reset();
        filter_.high.reset();
        return;
    }
    filter_.low = std::min(*low, *high);
    filter_.high = std::max(*low, *high);
}

bool TrafficModel::setRangeText(const QString& text) {
    static const QRegularExpression kRange(QStringLiteral(R"(^\s*(\d+)\s*(?:-\s*(\d+)\s*)?$)"));
    if (text.trimmed().isEmpty()) {
        setRange(std::nullopt, std::nullopt);
        return true;
    }
    const QRegularExpressionMatch match = kRange.match(text);
    bool lowOk = false;
    bool highOk = true;
    const int32_t low = match.hasMatch() ? match.captured(1).toInt(&lowOk) : 0;
    const int32_t high = match.hasCaptured(2) ? match.captured(2).toInt(&highOk) : low;
    if (!lowOk || !highOk) return false;
    setRange(low, high);
    return true;
}

QString TrafficModel::rangeText() const {
    if (!filter_.low) return {};
    if (*filter_.low == *filter_.high) return QString::number(*filter_.low);
    return QStringLiteral("%1-%2").arg(*filter_.low).arg(*filter_.high);
}

void TrafficModel::refresh() {
    beginResetModel();
    shown_ = library_.ring().entries();
    std::erase_if(shown_, [this](const TrafficEntry& entry) { return !filter_.accepts(entry); });
    endResetModel();
}

int TrafficModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownCount();
}

int TrafficModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrafficModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return cell(index.row(), static_cast<Column>(index.column()));
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    return headerText(static_cast<Column>(section));
}

QString TrafficModel::cell(int row, Column column) const {
    return entryCell(shown_.at(static_cast<std::size_t>(row)), column);
}

QString TrafficModel::headerText(Column column) {
    switch (column) {
        case Time:
            return QStringLiteral("Time");
        case Call:
            return QStringLiteral("Call");
        case Arguments:
            return QStringLiteral("Arguments");
        case Result:
            return QStringLiteral("Result");
        case Error:
            return QStringLiteral("Error");
        case Duration:
        case ColumnCount:
            break;
    }
    return QStringLiteral("Duration");
}

QString TrafficModel::entryCell(const TrafficEntry& entry, Column column) {
    switch (column) {
        case Time:
            return QDateTime::fromMSecsSinceEpoch(entry.startMs)
                .toString(QStringLiteral("HH:mm:ss.zzz"));
        case Call:
            return QLatin1String(callName(entry.call));
        case Arguments: {
            QStringList numbers;
            for (int i = 0; i < entry.argumentCount; ++i)
                numbers << QString::number(entry.arguments.at(static_cast<std::size_t>(i)));
            return numbers.join(QStringLiteral(", "));
        }
        case Result:
            return QString::number(entry.result);
        case Error:
            if (!entry.failed) return {};
            return QStringLiteral("%1 %2").arg(entry.errorCode).arg(entry.errorText).trimmed();
        case Duration:
        case ColumnCount:
            break;
    }
    return QStringLiteral("%1 ms").arg(static_cast<double>(entry.durationNs) / 1e6, 0, 'f', 3);
}

QString TrafficModel::text() const {
    QString text;
    for (const TrafficEntry& entry : shown_) {
        QStringList cells;
        for (int c = 0; c < ColumnCount; ++c) cells << entryCell(entry, static_cast<Column>(c));
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

std::optional<QString> TrafficModel::save(const QString& path) const {
    QString why;
    if (settings::writeFileAtomically(path, text().toUtf8(), why)) return std::nullopt;
    return QStringLiteral("Cannot save traffic file \"%1\": %2.").arg(path, why);
}

void TrafficModel::clear() {
    library_.ring().clear();
    refresh();
}

}  // namespace zel
