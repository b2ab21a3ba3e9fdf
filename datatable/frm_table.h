// frmTable, "ZEL Data Table Utility": the data table in the grid tgDTable, the Rows:/Cols:
// fields, Refresh, the toolbar and the File, Edit, Options and Help menus. It draws the table and
// hands every command to TableWindowModel; the grid's cells follow DataTableGrid.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "datatable/data_table_grid.h"
#include "datatable/table_window_model.h"
#include "settings/window_placement.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenuBar;
class QToolBar;
class QPushButton;
class QTableView;

namespace zel {

class frmTable final : public QWidget, public TableWindowView {
    Q_OBJECT
public:
    using MessageSink = std::function<void(const QString&)>;

    // `setMessage` is the main window's status line, `showProgress` the same without the log.
    frmTable(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
             MessageSink setMessage, MessageSink showProgress, QWidget* parent = nullptr);

    // Loads the window on its first showing (placement, an empty table, then the controller's
    // table) and shows it.
    void open();
    void retitle(const QString& connectionCaption);
    TableWindowModel& model() { return model_; }
    // "&Monitor Setup": the main window opens the monitor setup window.
    void setMonitorSetupHandler(std::function<void()> handler) { monitorSetup_ = std::move(handler); }
    // The monitoring timer's period, taken at once.
    void setMonitorInterval(int16_t milliseconds) { Timer1.setInterval(milliseconds); }
    // Where Add to Trend on a cell hands the cell; until it is set the action does nothing.
    void setTrendSink(std::function<void(const TrendItem&)> sink) { trendSink_ = std::move(sink); }

    // TableWindowView
    void setMessage(const QString& text) override { setMessage_(text); }
    void showProgress(const QString& text) override { showProgress_(text); }
    void messageBox(const QString& text) override;
    void setBusy(bool busy) override;
    void rebuildGrid() override;
    void showSize(int32_t rows, int32_t columns) override;
    QString chooseFile(TableFileDialog kind, const QString& start) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QAction* addCommand(QMenu* menu, const char* name, const QString& text,
                        std::function<void()> run);
    void endGridEdit();
    void copy();
    void cut();
    void paste();
    void chooseFont();
    void setMonitoring(bool on);
    bool sizeFieldEvent(QLineEdit* field, QEvent* event);
    double dpi() const;

    TableWindowModel model_;
    DataTableGrid grid_;
    MessageSink setMessage_;
    MessageSink showProgress_;
    std::function<void()> monitorSetup_;
    std::function<void(const TrendItem&)> trendSink_;
    QTableView* tgDTable = nullptr;
    QLineEdit* txtRows = nullptr;
    QLineEdit* txtCols = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* cancel_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QAction* beginMonitoring_ = nullptr;
    QAction* endMonitoring_ = nullptr;
    QTimer Timer1;  // monitoring
    QTimer Timer2;  // the two redraws after loading
    int startRedraws_ = 0;
    bool sizeFieldStarted_ = false;
    bool loaded_ = false;
    settings::PlacedWindow placed_;
};

}  // namespace zel
