// Flags, digital inputs and outputs, analog channels and servos named as "KIND:NUMBER", by the
// numbers their windows show them with, and read and written as those windows do.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "zelctl/session.h"

namespace zel::ctl {

enum class Resource { Register, Flag, Input, Output, AnalogIn, AnalogOut, ServoPosition, ServoError };

// A register by its number, or a resource by its kind and number.
struct Target {
    Resource kind = Resource::Register;
    int32_t number = 0;
    friend bool operator==(const Target&, const Target&) = default;
};

// How one kind is named and how far its numbers and written values run.
struct ResourceRule {
    Resource kind;
    const char* name;
    int32_t last;  // 0: as many as the controller has
    bool writable;
    int32_t low;
    int32_t high;
};

// The rule of the kind a "KIND:" prefix names; empty for an unknown one.
const ResourceRule* resourceRule(const QString& name);
const ResourceRule& ruleOf(Resource kind);
// The kinds' names, for messages and help.
QString resourceNames();

// "flag:7" for a resource, the number for a register.
QString targetName(const Target& target);

// Empty when the value may be written to the target, else why not.
std::optional<QString> refusedValue(const Target& target, int32_t value);
// After connecting: empty when the controller has the target, else why not (flags run to the
// controller's own count).
std::optional<QString> missingTarget(Session& session, const Target& target);

// The library's result, 1 for success; a flag reads 0 or 1.
int32_t readTarget(Session& session, const Target& target, int32_t& value);
int32_t writeTarget(Session& session, const Target& target, int32_t value);

}  // namespace zel::ctl
