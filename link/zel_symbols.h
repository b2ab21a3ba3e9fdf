// The library's entry points as resolved from a loaded file.
#pragma once

#include <QString>

#include "link/zel_calls.h"
#include "zelcom.h"

namespace zel {

// One function pointer per entry point of the call list, named like the entry point.
struct ZelSymbols {
#define ZEL_DECLARE_SYMBOL(name, ...) decltype(&::Zl##name) Zl##name = nullptr;
    ZEL_LIBRARY_CALLS(ZEL_DECLARE_SYMBOL)
#undef ZEL_DECLARE_SYMBOL
};

// Looks every entry point up in a dlopen handle. Returns the loader's message for the first
// one missing, or an empty text when all were found.
QString resolveSymbols(void* library, ZelSymbols& symbols);

}  // namespace zel
