#include "datatable/table_window_model.h"

#include <QFileInfo>

#include "common/number_text.h"
#include "datatable/table_file.h"

namespace zel {
namespace {

constexpr int16_t kDefaultMonitorInterval = 2000;

}  // namespace

TableWindowModel::TableWindowModel(AppState& state, ZelLibrary& library,
                                   settings::SettingsStore& store, TableWindowView& view,
                                   EventPump pump)
    : state_(state),
      store_(store),
      view_(view),
      transfer_(state, library, table_, view, std::move(pump)) {}

QString TableWindowModel::loadingTitle() const {
    const ConnectionSettings& s = state_.settings;
    if (s.CommType == kCommUdp || s.CommType == kCommTcp)
        return QStringLiteral("Data Table - ") + s.ControllerIP;
    if (s.CommType == kCommZelNet)
        return QStringLiteral("Data Table - Node") + QString::number(s.TargetNode);
    return QStringLiteral("Data Table");
}

settings::RestoredPlacement TableWindowModel::load() {
    settings::RestoredPlacement placement =
        settings::restorePlacement(store_, settings::PlacementSection::Dtable);
    table_.resize(0, 0);
    table_.TableMonStartRow = 0;
    table_.TableMonEndRow = 0;
    table_.TableMonitoring = false;
    table_.TableMonInterval = kDefaultMonitorInterval;
    return placement;
}

std::optional<QString> TableWindowModel::unload(settings::DisplayState display,
                                                const settings::WindowPlacement& current) {
    table_.TableMonitoring = false;
    const std::optional<QString> failure =
        settings::savePlacement(store_, settings::PlacementSection::Dtable, display, current);
    view_.setMessage(QStringLiteral("Data Table Form unloaded."));
    return failure;
}

// A refused file is named with its line, and the table stays as it was.
void TableWindowModel::fileOpen() {
    if (transfer_.running()) return;
    openFile(view_.chooseFile(TableFileDialog::Open, table_.TableFileName));
}

void TableWindowModel::openFile(const QString& path) {
    if (transfer_.running()) return;
    table_.TableFileName = path;
    if (path.isEmpty() || !QFileInfo::exists(path)) return;
    view_.setBusy(true);
    QString error;
    if (ReadTableFile(path, table_, error))
        view_.showSize(table_.TableRows, table_.columns());
    else
        view_.messageBox(error);
    view_.rebuildGrid();
    view_.setBusy(false);
}

void TableWindowModel::fileSave() {
    if (transfer_.running()) return;
    QString path = table_.TableFileName;
    if (path.isEmpty()) path = view_.chooseFile(TableFileDialog::Save, path);
    if (!path.isEmpty()) save(path);
}

void TableWindowModel::fileSaveAs() {
    if (transfer_.running()) return;
    const QString path = view_.chooseFile(TableFileDialog::SaveAs, table_.TableFileName);
    if (!path.isEmpty()) save(path);
}

// A save that fails leaves the old file whole and says why in the status line.
void TableWindowModel::save(const QString& path) {
    table_.TableFileName = path;
    view_.setBusy(true);
    QString error;
    if (!WriteTableFile(path, table_, error)) view_.setMessage(error);
    view_.setBusy(false);
}

// Sizes past what a table file or the library's row buffers hold are refused like 0.
void TableWindowModel::rowsEntered(const QString& text) {
    const double rows = val(text);
    if (!transfer_.running() && rows >= 1 && rows <= kMaxTableRows)
        resized(static_cast<int32_t>(rows), table_.columns());
    else
        view_.showSize(table_.TableRows, table_.columns());
}

void TableWindowModel::colsEntered(const QString& text) {
    const double columns = val(text);
    if (!transfer_.running() && columns >= 1 && columns <= kMaxTableColumns)
        resized(table_.TableRows, static_cast<int32_t>(columns));
    else
        view_.showSize(table_.TableRows, table_.columns());
}

void TableWindowModel::resized(int32_t rows, int32_t columns) {
    table_.resizeKeeping(rows, columns);
    view_.showSize(table_.TableRows, table_.columns());
    view_.rebuildGrid();
}

bool TableWindowModel::beginMonitoring() {
    if (state_.flags.NoCommunication || table_.TableMonitoring || transfer_.running()) return false;
    table_.TableMonitoring = true;
    return true;
}

bool TableWindowModel::endMonitoring() {
    if (state_.flags.NoCommunication || !table_.TableMonitoring || transfer_.running())
        return false;
    table_.TableMonitoring = false;
    return true;
}

}  // namespace zel
