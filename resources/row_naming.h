// How rows are named from the program's symbols, and how a digital input or output row shows
// its state.
#pragma once

#include <QString>
#include <cstdint>

#include "common/state_colour.h"
#include "resources/resource_services.h"

namespace zel {

inline constexpr char kNotPresent[] = "Not Present";
inline constexpr char kNotAvailable[] = "N/A";
inline constexpr char kUnreadable[] = "*";

// What a digital row shows: its name, the state text of its control and the text's colour.
struct DigitalState {
    QString name;
    QString state;
    StateColour colour = StateColour::Black;
};

// The symbol name of resource `number` in the table; empty when no symbol file is in use or
// the symbols do not name it.
QString symbolName(const ResourceServices& services, SymbolCode code, int32_t number);

// An input's or output's state 0 (off) or 1 (on); any other value shows nothing, in black.
DigitalState inputState(const ResourceServices& services, int32_t number, int32_t value);
DigitalState outputState(const ResourceServices& services, int32_t number, int32_t value);

}  // namespace zel
