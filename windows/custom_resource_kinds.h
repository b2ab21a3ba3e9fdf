// The resource kinds a custom screen row can watch: their list texts and number limits, the
// register each is read through and how its value shows, and the kinds the user may write.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "common/app_state.h"
#include "common/symbol_lookup.h"

namespace zel {

inline constexpr int16_t kNotSelected = 0;
inline constexpr int16_t kFlagKind = 1;

enum class BoxIcon { None, Exclamation };

struct LimitMessage {
    QString text;
    BoxIcon icon;
};

// The kind list of a row: up to "Servo Error", and the four servo inputs too on controllers
// of model 3 or above 4.
QStringList customKindList(int32_t modelCode);
QString customKindText(int16_t kind);

// The highest number the kind allows on this controller.
int32_t customKindLimit(int16_t kind, const AppState& state);
// The message when a number is above the limit: as the kind is chosen, or as a number is typed.
LimitMessage kindChosenMessage(int16_t kind);
LimitMessage numberEnteredMessage(int16_t kind);

// The symbol table that names the kind; none for the servo errors and inputs.
std::optional<SymbolCode> customKindSymbols(int16_t kind);

// The register a row of kind 2..12 is read through.
int32_t customValueRegister(int16_t kind, int32_t number);
// The bit of that register a servo input kind shows; none for a kind shown as a number.
std::optional<int> customValueBit(int16_t kind);
// What a row of kind 2..12 shows for the value of its register.
QString customValueText(int16_t kind, int32_t value);

// How a value typed into a row of a writable kind is sent.
struct CustomWrite {
    int32_t low;
    int32_t high;
    int32_t registerOffset;  // unused for flags, which are written by number
    const char* donePrefix;  // followed by the number and " updated."
};
std::optional<CustomWrite> customWrite(int16_t kind);

}  // namespace zel
