// Moving the data table between the controller and the editor: upload (the whole table, or
// while monitoring the monitored rows) and download (never changing the controller's size).
// Both run on the user-interface thread, let events run between rows through the pump, show the
// row they are at and stop after the current row when asked to.
#pragma once

#include <QString>
#include <cstdint>

#include "common/app_state.h"
#include "common/event_pump.h"
#include "datatable/data_table.h"
#include "link/zel_library.h"

namespace zel {

// What the transfers show; the data table window implements it.
class TableTransferView {
public:
    virtual ~TableTransferView() = default;
    // The main window's status line, shown, refreshed and logged.
    virtual void setMessage(const QString& text) = 0;
    // The status line only, not logged: it changes with every row.
    virtual void showProgress(const QString& text) = 0;
    // A message box with the exclamation icon and an OK button.
    virtual void messageBox(const QString& text) = 0;
    // The busy pointer over the application.
    virtual void setBusy(bool busy) = 0;
    // The grid's columns follow the table's column count again.
    virtual void rebuildGrid() = 0;
    // txtRows and txtCols.
    virtual void showSize(int32_t rows, int32_t columns) = 0;
};

class TableTransfer {
public:
    TableTransfer(AppState& state, ZelLibrary& library, DataTable& table, TableTransferView& view,
                  EventPump pump);

    // Reads the controller's table, or while monitoring rows TableMonStartRow..TableMonEndRow
    // of the table as it is. Nothing happens without a working link or while a transfer runs.
    void upload();
    // Writes every row when the controller's table has the same size as ours.
    void download();

    // Asked from an event the pump lets run: the transfer stops before its next row, as if
    // that row had failed; a row whose call fails after the request ends it as cancelled too.
    void requestCancel();
    bool running() const { return running_; }

private:
    class Scope;

    bool readDimensions(int32_t& rows, int32_t& columns);
    // Between rows: shows the row, lets events run; false when the transfer must stop there.
    bool continueAt(const QString& progress, int32_t row, int32_t rows, int32_t columns);
    bool uploadRow(int32_t row, int32_t columns);
    bool downloadRow(int32_t row, int32_t columns);

    AppState& state_;
    ZelLibrary& library_;
    DataTable& table_;
    TableTransferView& view_;
    EventPump pump_;
    bool running_ = false;
    bool cancelRequested_ = false;
};

}  // namespace zel
