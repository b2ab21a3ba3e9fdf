#include "resources/frm_flag.h"

namespace zel {

frmFlag::frmFlag(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                 SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : PagedForm(state, library, store, symbols, std::move(setMessage),
                {"Flags", ValueControl::Button, "Text1"}, parent) {
    setObjectName(QStringLiteral("frmFlag"));
    auto model = std::make_unique<FlagWindowModel>(services());
    model_ = model.get();
    attach(std::move(model));
}

}  // namespace zel
