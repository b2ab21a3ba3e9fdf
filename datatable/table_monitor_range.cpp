#include "datatable/table_monitor_range.h"

#include <algorithm>

#include "common/key_codes.h"
#include "common/number_text.h"

namespace zel {

namespace {

constexpr int32_t kEnterLowestInterval = 10;
constexpr int32_t kLeaveLowestInterval = 25;
constexpr int32_t kHighestInterval = 32000;
constexpr int32_t kHighestRowSetting = 32767;  // the row settings are 16 bits

}  // namespace

TableMonitorRange::TableMonitorRange(DataTable& table, IntervalSink intervalChanged)
    : table_(table), intervalChanged_(std::move(intervalChanged)) {}

void TableMonitorRange::open() {
    setText(MonitorField::Interval, QString::number(table_.TableMonInterval));
    setText(MonitorField::StartRow, QString::number(table_.TableMonStartRow));
    setText(MonitorField::EndRow, QString::number(table_.TableMonEndRow));
}

bool TableMonitorRange::keyPress(MonitorField field, int key) {
    if (!firstKeyTyped_) {
        setText(field, QString());
        firstKeyTyped_ = true;
    }
    if (key != kEnterKey) return false;
    apply(field, kEnterLowestInterval);
    return true;
}

void TableMonitorRange::leave(MonitorField field) {
    apply(field, kLeaveLowestInterval);
}

void TableMonitorRange::apply(MonitorField field, int32_t lowestInterval) {
    firstKeyTyped_ = false;
    const double value = val(text(field));
    if (field == MonitorField::Interval) {
        const int32_t interval =
            value < lowestInterval      ? lowestInterval
            : value > kHighestInterval ? kHighestInterval
                                        : roundToInt32(value);
        table_.TableMonInterval = static_cast<int16_t>(interval);
        if (intervalChanged_) intervalChanged_(table_.TableMonInterval);
        return;
    }
    // Below 1 wins over the table's end, so an empty table still gives row 1 for 0.
    const int32_t row = value < 1                ? 1
                        : value > table_.TableRows ? table_.TableRows
                                                   : roundToInt32(value);
    int16_t& setting =
        field == MonitorField::StartRow ? table_.TableMonStartRow : table_.TableMonEndRow;
    setting = static_cast<int16_t>(std::min(row, kHighestRowSetting));
}

}  // namespace zel
