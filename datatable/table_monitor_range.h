// The rules of the monitor setup window: which rows of the data table each monitoring tick
// re-reads and how often. Row fields clamp to the table; the interval clamps to 10 ms on Enter
// but 25 ms on leaving the field, and the editor's timer takes every new interval at once.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "datatable/data_table.h"

namespace zel {

enum class MonitorField { Interval, StartRow, EndRow };

class TableMonitorRange {
public:
    // Handed every interval the fields apply, in milliseconds: the monitoring timer's period.
    using IntervalSink = std::function<void(int16_t)>;

    TableMonitorRange(DataTable& table, IntervalSink intervalChanged);

    // Opening: the fields show the current interval, start row and end row.
    void open();

    const QString& text(MonitorField field) const { return texts_[index(field)]; }
    // The field's text as the user left it after typing.
    void setText(MonitorField field, const QString& text) { texts_[index(field)] = text; }
    // A key typed into a field: the first since a value was applied empties it; Enter applies
    // the field and is consumed (true).
    bool keyPress(MonitorField field, int key);
    // Focus leaves a field: it applies, the interval with its own lower bound.
    void leave(MonitorField field);

private:
    static size_t index(MonitorField field) { return static_cast<size_t>(field); }
    void apply(MonitorField field, int32_t lowestInterval);

    DataTable& table_;
    IntervalSink intervalChanged_;
    std::array<QString, 3> texts_;
    bool firstKeyTyped_ = false;  // one for the three fields
};

}  // namespace zel
