// frmDigIn and frmDigOut, the Digital inputs and outputs windows: inputs as SSPanel1 panels,
// outputs as SSCommand1 buttons that toggle the output; GoTo box Text1.
#pragma once

#include "resources/digital_window_model.h"
#include "resources/paged_form.h"

namespace zel {

class DigitalForm : public PagedForm {
    Q_OBJECT
public:
    DigitalWindowModel& model() { return *model_; }

protected:
    DigitalForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                SymbolLookup* symbols, MessageSink setMessage, DigitalKind kind, QWidget* parent);
    void valueClicked(int r) override { model_->outputClicked(r); }

private:
    DigitalWindowModel* model_ = nullptr;
};

class frmDigIn final : public DigitalForm {
    Q_OBJECT
public:
    frmDigIn(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
             SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);
};

class frmDigOut final : public DigitalForm {
    Q_OBJECT
public:
    frmDigOut(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
              SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);
};

}  // namespace zel
