#include "resources/row_naming.h"

namespace zel {
namespace {

// The lookup's display, with our own default name where the lookup gives none.
DigitalState digitalState(const SymbolDisplay& looked, const QString& defaultName, bool on) {
    return {looked.name.isEmpty() ? defaultName : looked.name,
            on ? QStringLiteral("On") : QStringLiteral("Off"),
            on ? StateColour::Green : StateColour::Red};
}

bool isState(int32_t value) {
    return value == 0 || value == 1;
}

}  // namespace

QString symbolName(const ResourceServices& services, SymbolCode code, int32_t number) {
    return services.symbolsActive() ? services.symbols->name(code, number) : QString();
}

DigitalState inputState(const ResourceServices& services, int32_t number, int32_t value) {
    if (!isState(value)) return {};
    const bool on = value == 1;
    const QString fallback = QStringLiteral("in_") + QString::number(number) + (on ? u'A' : u'B');
    const SymbolDisplay looked =
        services.symbolsActive() ? services.symbols->InputSymbol(number, value) : SymbolDisplay{};
    return digitalState(looked, fallback, on);
}

DigitalState outputState(const ResourceServices& services, int32_t number, int32_t value) {
    if (!isState(value)) return {};
    const bool on = value == 1;
    const QString fallback = QStringLiteral("OUT_") + QString::number(number) +
                             (on ? QStringLiteral("_ON") : QStringLiteral("_OFF"));
    const SymbolDisplay looked =
        services.symbolsActive() ? services.symbols->OutputSymbol(number, value) : SymbolDisplay{};
    return digitalState(looked, fallback, on);
}

}  // namespace zel
