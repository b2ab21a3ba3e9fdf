// The step status window: the run state line and the task tree. It draws what its model decides;
// the model's poll block refreshes it on each tick while it is open.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "common/app_state.h"
#include "link/poll_block.h"
#include "status/recursive_parse.h"
#include "settings/settings_store.h"
#include "settings/window_placement.h"

class QLabel;
class QTreeWidget;

namespace zel {

class StatusWindowModel;
class TreeWidgetSteps;

class frmStatus : public QWidget {
    Q_OBJECT
public:
    using MessageSink = std::function<void(const QString&)>;

    // `setMessage` is the main window's status line.
    frmStatus(AppState& state, settings::SettingsStore& store, MessageSink setMessage,
              QWidget* parent = nullptr);
    ~frmStatus() override;

    // Restores the placement, counts the window as open and shows it; titled "Step Status" and
    // the connection caption.
    void open();
    // The window's part of the polling tick; lives as long as the window.
    PollBlock& pollBlock();
    void setStepNameLookup(status::StepNameLookup names);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    double dpi() const;
    settings::DisplayState displayState() const;
    void showBox(const QString& text);

    QLabel* Label1 = nullptr;
    QTreeWidget* TreeView1 = nullptr;
    std::unique_ptr<TreeWidgetSteps> steps_;
    std::unique_ptr<StatusWindowModel> model_;
    AppState& state_;
    bool loaded_ = false;
    settings::PlacedWindow placed_;
};

}  // namespace zel
