// What every resource window is made from, gathered once by the main window.
#pragma once

#include <QWidget>
#include <functional>

#include "app/main_window_model.h"
#include "common/symbol_lookup.h"

namespace zel {

struct ResourceArgs {
    MainWindowModel& model;
    std::function<void(const QString&)> setMessage;
    QWidget* parent;

    SymbolLookup* symbols() const {
        return model.symbols() ? &model.symbols()->lookup() : nullptr;
    }
    template <typename Form>
    Form* make() const {
        return new Form(model.state(), model.library(), model.settingsStore(), symbols(),
                        setMessage, parent);
    }
};

}  // namespace zel
