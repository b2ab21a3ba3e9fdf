#include "link/zel_symbols.h"

#include <dlfcn.h>

namespace zel {
namespace {

template <typename Function>
bool bindSymbol(void* library, const char* name, Function& function, QString& error) {
    dlerror();
    void* address = dlsym(library, name);
    if (address == nullptr) {
        const char* message = dlerror();
        error = message ? QString::fromLocal8Bit(message)
                        : QStringLiteral("symbol %1 is null").arg(QLatin1String(name));
        return false;
    }
    function = reinterpret_cast<Function>(address);
    return true;
}

}  // namespace

QString resolveSymbols(void* library, ZelSymbols& symbols) {
    QString error;
#define ZEL_BIND_SYMBOL(name, ...) \
    if (!bindSymbol(library, "Zl" #name, symbols.Zl##name, error)) return error;
    ZEL_LIBRARY_CALLS(ZEL_BIND_SYMBOL)
#undef ZEL_BIND_SYMBOL
    return {};
}

}  // namespace zel
