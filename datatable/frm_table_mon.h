// frmTableMon, "Data Table Monitor Setup": the rows the data table window re-reads while
// monitoring, and how often. The rules are TableMonitorRange's.
#pragma once

#include <QWidget>
#include <array>

#include "datatable/table_monitor_range.h"

class QLineEdit;

namespace zel {

class frmTableMon final : public QWidget {
    Q_OBJECT
public:
    frmTableMon(DataTable& table, TableMonitorRange::IntervalSink intervalChanged,
                QWidget* parent = nullptr);

    // Shows the current interval and rows.
    void open();
    void retitle(const QString&) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void draw();

    TableMonitorRange model_;
    std::array<QLineEdit*, 3> fields_{};  // txtMonInt, txtMonStartRow, txtMonEndRow
};

}  // namespace zel
