// The traffic window's rules: recording runs while the window is open; the recorded calls are
// filtered by call, by the registers they touch and by failure, shown as rows of text and saved
// as text, one line per call.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/recording_zel_library.h"

namespace zel {

struct TrafficFilter {
    std::optional<ZelCall> call;
    std::optional<int32_t> low;  // registers low..high, both set or neither
    std::optional<int32_t> high;
    bool failuresOnly = false;

    bool accepts(const TrafficEntry& entry) const;
};

class TrafficModel : public QAbstractTableModel {
public:
    enum Column { Time, Call, Arguments, Result, Error, Duration, ColumnCount };

    explicit TrafficModel(RecordingZelLibrary& library);

    void open();
    void close();

    const TrafficFilter& filter() const { return filter_; }
    void setCall(std::optional<ZelCall> call) { filter_.call = call; }
    void setFailuresOnly(bool only) { filter_.failuresOnly = only; }
    // Registers low..high (in either order); nothing clears the range.
    void setRange(std::optional<int32_t> low, std::optional<int32_t> high);
    // The range box's text: empty, "n" or "low-high". False, and the range left as it was,
    // when the text is neither.
    bool setRangeText(const QString& text);
    QString rangeText() const;

    // Takes the ring's calls afresh and keeps those the filter accepts.
    void refresh();
    int shownCount() const { return static_cast<int>(shown_.size()); }
    QString cell(int row, Column column) const;
    // One line per shown call, its columns separated by tabs.
    QString text() const;
    // Writes text() to `path`; the failure's message, or nothing.
    std::optional<QString> save(const QString& path) const;
    // Forgets every recorded call.
    void clear();
    // Every call recorded since the start, including those the ring no longer keeps.
    uint64_t recordedCount() const { return library_.ring().pushed(); }

    static QString headerText(Column column);
    static QString entryCell(const TrafficEntry& entry, Column column);

    // QAbstractTableModel: a cell's text is made only when the view asks for it.
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RecordingZelLibrary& library_;
    TrafficFilter filter_;
    std::vector<TrafficEntry> shown_;
};

}  // namespace zel
