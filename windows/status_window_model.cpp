#include "windows/status_window_model.h"

#include "status/run_state_text.h"
#include "status/status_exchange.h"
#include "status/task_banks.h"
#include "status/tree_build.h"

namespace zel {

StatusWindowModel::StatusWindowModel(AppState& state, settings::SettingsStore& store,
                                     status::StepTree& tree, TextSink showRunState,
                                     TextSink setMessage)
    : state_(state),
      store_(store),
      tree_(tree),
      showRunState_(std::move(showRunState)),
      setMessage_(std::move(setMessage)) {}

settings::RestoredPlacement StatusWindowModel::load() {
    settings::RestoredPlacement restored =
        settings::restorePlacement(store_, settings::PlacementSection::Status);
    state_.flags.windows.StatusFormOpen = true;
    return restored;
}

std::optional<QString> StatusWindowModel::savePlacement(settings::DisplayState displayState,
                                                        const settings::WindowPlacement& current) {
    return settings::savePlacement(store_, settings::PlacementSection::Status, displayState,
                                   current);
}

void StatusWindowModel::unloaded() {
    state_.flags.windows.StatusFormOpen = false;
    setMessage_(QStringLiteral("Status Form unloaded."));
}

void StatusWindowModel::refresh(PollContext& context) {
    fetch(context);
    // Events ran during the fetch: the window may have closed or the link gone meanwhile.
    if (!isOpen() || !context.linkUsable()) return;
    showRunState_(status::runStateText(record_));
    // A corrupt program has no tree worth showing, and its fault line is the last word of the
    // tick: no later window is refreshed in it.
    if (record_.FaultCode == status::kCorruptProgramFault) {
        context.tickEnded = true;
        return;
    }
    const QVector<status::StepLine> lines =
        status::RecursiveParse(record_, state_.connection.TaskCount, activeNames());
    status::updateStepTree(tree_, lines, keys_);
}

void StatusWindowModel::fetch(PollContext& context) {
    const status::PumpCheck pumpCheck = [&] {
        context.pump();
        return isOpen() && context.linkUsable();
    };
    if (!status::NewStatusPacket(context.library, state_, record_, pumpCheck))
        status::readTaskBanks(context, record_, pumpCheck);
}

status::StepNameLookup StatusWindowModel::activeNames() const {
    return state_.files.SymbolFileName.isEmpty() ? status::StepNameLookup{} : names_;
}

}  // namespace zel
