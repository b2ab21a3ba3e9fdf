// The step status window's rules: its part of the polling tick (fetch the status data, show the
// run state, bring the task tree up to date) and its load and unload. No widgets: the form hands
// in its tree and a sink for its label.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "status/node_keys.h"
#include "settings/placement_store.h"
#include "link/poll_block.h"
#include "status/recursive_parse.h"
#include "status/status_record.h"
#include "status/step_tree.h"

namespace zel {

class StatusWindowModel final : public PollBlock {
public:
    using TextSink = std::function<void(const QString&)>;

    // `showRunState` receives Label1's text; `setMessage` is the main window's status line.
    StatusWindowModel(AppState& state, settings::SettingsStore& store, status::StepTree& tree,
                      TextSink showRunState, TextSink setMessage);

    // Symbol names for the step lines, asked only while a symbol file is in use.
    void setStepNameLookup(status::StepNameLookup names) { names_ = std::move(names); }

    // The placement to apply (and a message for a box, if any); the window counts as open.
    settings::RestoredPlacement load();
    // First step of the unload; returns a message for a box, if any.
    std::optional<QString> savePlacement(settings::DisplayState displayState,
                                         const settings::WindowPlacement& current);
    // Last step of the unload: the window counts as closed and says so in the status line.
    void unloaded();

    bool isOpen() const override { return state_.flags.windows.StatusFormOpen; }
    void refresh(PollContext& context) override;

    const status::StatusRecord& record() const { return record_; }

private:
    void fetch(PollContext& context);
    status::StepNameLookup activeNames() const;

    AppState& state_;
    settings::SettingsStore& store_;
    status::StepTree& tree_;
    TextSink showRunState_;
    TextSink setMessage_;
    status::StepNameLookup names_;
    status::StatusRecord record_;
    status::NodeKeys keys_;
};

}  // namespace zel
