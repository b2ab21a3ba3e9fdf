#include "resources/frm_analog.h"

namespace zel {
namespace {

PagedFormLayout layoutFor(AnalogKind kind) {
    if (kind == AnalogKind::Inputs)
        return {"Analog Inputs", ValueControl::ReadOnlyTextBox, "Text2"};
    return {"Analog Outputs", ValueControl::TextBox, "Text2"};
}

}  // namespace

AnalogForm::AnalogForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                       SymbolLookup* symbols, MessageSink setMessage, AnalogKind kind,
                       QWidget* parent)
    : PagedForm(state, library, store, symbols, std::move(setMessage), layoutFor(kind), parent) {
    auto model = std::make_unique<AnalogWindowModel>(services(), kind);
    model_ = model.get();
    attach(std::move(model));
}

frmAnalIn::frmAnalIn(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                     SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : AnalogForm(state, library, store, symbols, std::move(setMessage), AnalogKind::Inputs,
                 parent) {
    setObjectName(QStringLiteral("frmAnalIn"));
}

frmAnalOut::frmAnalOut(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                       SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : AnalogForm(state, library, store, symbols, std::move(setMessage), AnalogKind::Outputs,
                 parent) {
    setObjectName(QStringLiteral("frmAnalOut"));
}

}  // namespace zel
