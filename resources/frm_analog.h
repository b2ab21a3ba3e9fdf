// frmAnalIn and frmAnalOut, the Analog inputs and outputs windows: Text1 value boxes (shown
// only for inputs), GoTo box Text2.
#pragma once

#include "resources/analog_window_model.h"
#include "resources/paged_form.h"

namespace zel {

class AnalogForm : public PagedForm {
    Q_OBJECT
public:
    AnalogWindowModel& model() { return *model_; }

protected:
    AnalogForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
               SymbolLookup* symbols, MessageSink setMessage, AnalogKind kind, QWidget* parent);

private:
    AnalogWindowModel* model_ = nullptr;
};

class frmAnalIn final : public AnalogForm {
    Q_OBJECT
public:
    frmAnalIn(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
              SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);
};

class frmAnalOut final : public AnalogForm {
    Q_OBJECT
public:
    frmAnalOut(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
               SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);
};

}  // namespace zel
