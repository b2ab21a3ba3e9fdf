// frmFlag, the Flags window: flags as "Set" / "Clear" buttons SSCommand1, GoTo box Text1.
#pragma once

#include "resources/flag_window_model.h"
#include "resources/paged_form.h"

namespace zel {

class frmFlag final : public PagedForm {
    Q_OBJECT
public:
    frmFlag(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
            SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);

    FlagWindowModel& model() { return *model_; }

protected:
    void valueClicked(int r) override { model_->flagClicked(r); }

private:
    FlagWindowModel* model_ = nullptr;
};

}  // namespace zel
