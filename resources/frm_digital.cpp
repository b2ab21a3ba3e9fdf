#include "resources/frm_digital.h"

namespace zel {
namespace {

PagedFormLayout layoutFor(DigitalKind kind) {
    if (kind == DigitalKind::Inputs) return {"Digital Inputs", ValueControl::Panel, "Text1"};
    return {"Digital Outputs", ValueControl::Button, "Text1"};
}

}  // namespace

DigitalForm::DigitalForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                         SymbolLookup* symbols, MessageSink setMessage, DigitalKind kind,
                         QWidget* parent)
    : PagedForm(state, library, store, symbols, std::move(setMessage), layoutFor(kind), parent) {
    auto model = std::make_unique<DigitalWindowModel>(services(), kind);
    model_ = model.get();
    attach(std::move(model));
}

frmDigIn::frmDigIn(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                   SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : DigitalForm(state, library, store, symbols, std::move(setMessage), DigitalKind::Inputs,
                  parent) {
    setObjectName(QStringLiteral("frmDigIn"));
}

frmDigOut::frmDigOut(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                     SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : DigitalForm(state, library, store, symbols, std::move(setMessage), DigitalKind::Outputs,
                  parent) {
    setObjectName(QStringLiteral("frmDigOut"));
}

}  // namespace zel
