// The desktop side of the symbol hooks: the Open dialog and the busy pointer.
#pragma once

#include "symbols/symbol_service.h"

class QWidget;

namespace zel::symbols {

// A chooser that asks with a modal Open dialog over `parent`.
SymbolFileChooser openDialogChooser(QWidget* parent);

// The hourglass for the whole application, on or off; calls must pair.
void setBusyPointer(bool on);

}  // namespace zel::symbols
