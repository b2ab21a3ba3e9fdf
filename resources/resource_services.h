// What every resource window works with: the shared state, the library, the settings store,
// the symbol names and the main window's status line; and what a window's rules ask of its form.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "common/app_state.h"
#include "settings/settings_store.h"
#include "common/symbol_lookup.h"
#include "link/zel_library.h"

namespace zel {

using MessageSink = std::function<void(const QString&)>;

struct ResourceServices {
    AppState& state;
    ZelLibrary& library;
    settings::SettingsStore& store;
    SymbolLookup* symbols = nullptr;  // null while there are no symbols: default names
    MessageSink setMessage;           // the main window's status line, refreshed at once
    MessageSink showMessageBox;       // a box with only an OK button and the default title

    // True while a symbol file is in use.
    bool symbolsActive() const { return symbols != nullptr && symbols->active(); }
};

// Makes a write (`write` calls the library and returns its result) and reports it in the status
// line: `doneText` after result 1, otherwise `failurePhrase`, a line feed and the library's
// error text. While a transfer holds the link nothing is called and the status line says why.
void writeAndReport(ResourceServices& services, const std::function<int32_t()>& write,
                    const QString& doneText, const char* failurePhrase);

// What a window's rules ask of the form that shows them.
class WindowView {
public:
    virtual ~WindowView() = default;
    // Show the rows, the GoTo box and the page position as they now are.
    virtual void draw() = 0;
    virtual void focusGoto() {}
    // After a relabel: VScroll1 is disabled and at once enabled again, so it loses the focus.
    virtual void releaseScrollBar() {}
};

}  // namespace zel
