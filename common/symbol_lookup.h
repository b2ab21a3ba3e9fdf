// How windows name numbered resources from the program's symbols. The symbol database
// implements it; a window without symbols shows its own default captions.
#pragma once

#include <QString>
#include <cstdint>

namespace zel {

// Symbol table codes, one per kind of resource.
enum class SymbolCode : int32_t {
    AnalogInput = 2,
    AnalogOutput = 4,
    Register = 8,
    Flag = 64,
    DigitalInput = 128,
    NvRegister = 1024,
    Servo = 2048,
    Step = 8192,
    DigitalOutput = 131072,
};

// What a digital input or output row shows: its name, its state text and its colour
// (32768 green for on, 255 red for off).
struct SymbolDisplay {
    QString name;
    QString state;
    int32_t colour = 0;
};

class SymbolLookup {
public:
    virtual ~SymbolLookup() = default;
    // False while no symbol file is in use; the lookups then find nothing.
    virtual bool active() const = 0;
    // The name of resource `number` of the kind, empty when the symbols do not name it.
    virtual QString name(SymbolCode code, int32_t number) = 0;
    virtual SymbolDisplay InputSymbol(int32_t number, int32_t state) = 0;
    virtual SymbolDisplay OutputSymbol(int32_t number, int32_t state) = 0;
};

}  // namespace zel
