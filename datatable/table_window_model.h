// The data table window's rules: what opening and closing it do, the file commands, the Rows
// and Cols fields, and monitoring on and off. The transfers themselves are TableTransfer's.
// While a transfer runs the window takes no other command: each is ignored here, and the form
// shows them disabled.
#pragma once

#include <QString>
#include <optional>

#include "common/app_state.h"
#include "common/event_pump.h"
#include "datatable/data_table.h"
#include "datatable/table_transfer.h"
#include "link/zel_library.h"
#include "settings/placement_store.h"
#include "settings/settings_store.h"

namespace zel {

enum class TableFileDialog { Open, Save, SaveAs };

// What the rules ask of the window beyond the transfers' needs.
class TableWindowView : public TableTransferView {
public:
    // The file dialog of `kind`, starting at `start`; empty when cancelled.
    virtual QString chooseFile(TableFileDialog kind, const QString& start) = 0;
};

class TableWindowModel {
public:
    TableWindowModel(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                     TableWindowView& view, EventPump pump);

    DataTable& table() { return table_; }
    const TableTransfer& transfer() const { return transfer_; }
    // False while a transfer runs: every command but Cancel is refused.
    bool takesCommands() const { return !transfer_.running(); }

    // The title while the window loads: the controller's address on a network link, the node
    // on ZelNET, nothing more on a serial line.
    QString loadingTitle() const;
    const QString& connectionCaption() const { return state_.connection.ConnectionCaption; }
    // Loading: the stored placement (with its close failure message, if any), then an empty
    // table, monitoring off over rows 0..0 every 2000 ms.
    settings::RestoredPlacement load();
    // Unloading: saves the placement (a message if that fails), stops monitoring and says so.
    std::optional<QString> unload(settings::DisplayState display,
                                  const settings::WindowPlacement& current);

    void upload() { transfer_.upload(); }
    void download() { transfer_.download(); }
    void cancelTransfer() { transfer_.requestCancel(); }

    void fileOpen();
    // Reads the table file at `path` into the table, as File Open does once a file is chosen.
    void openFile(const QString& path);
    void fileSave();
    void fileSaveAs();

    // Rows: and Cols: applied (Enter or leaving the field): a size above 0 resizes the table
    // keeping what fits; anything else puts the current size back.
    void rowsEntered(const QString& text);
    void colsEntered(const QString& text);

    // Ignored while there is no link; true when monitoring changed.
    bool beginMonitoring();
    bool endMonitoring();

private:
    void save(const QString& path);
    void resized(int32_t rows, int32_t columns);

    AppState& state_;
    settings::SettingsStore& store_;
    TableWindowView& view_;
    DataTable table_;
    TableTransfer transfer_;
};

}  // namespace zel
