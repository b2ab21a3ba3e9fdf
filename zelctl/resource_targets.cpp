#include "zelctl/resource_targets.h"

#include <array>
#include <limits>

#include "common/bit_value.h"
#include "resources/flag_word.h"
#include "resources/resource_registers.h"

namespace zel::ctl {
namespace {

constexpr int32_t kAnyLow = std::numeric_limits<int32_t>::min();
constexpr int32_t kAnyHigh = std::numeric_limits<int32_t>::max();

const std::array<ResourceRule, 8>& rules() {
    static const std::array<ResourceRule, 8> table = {{
        {Resource::Register, "register", 0, true, kAnyLow, kAnyHigh},
        {Resource::Flag, "flag", 0, true, 0, 1},
        {Resource::Input, "input", kLastDigital, false, 0, 0},
        {Resource::Output, "output", kLastDigital, true, 0, 1},
        {Resource::AnalogIn, "analog-in", kLastAnalogChannel, false, 0, 0},
        {Resource::AnalogOut, "analog-out", kLastAnalogChannel, true, -kAnalogOutputLimit,
         kAnalogOutputLimit},
        {Resource::ServoPosition, "servo", kLastServo, true, kAnyLow, kAnyHigh},
        {Resource::ServoError, "servo-error", kLastServo, false, 0, 0},
    }};
    return table;
}

// The register a resource other than a flag is read from and written to.
int32_t registerOf(const Target& t) {
    switch (t.kind) {
        case Resource::Input: return kInputBase + t.number;
        case Resource::Output: return kOutputBase + t.number;
        case Resource::AnalogIn: return kAnalogInBase + t.number;
        case Resource::AnalogOut: return kAnalogOutBase + t.number;
        case Resource::ServoPosition: return kServoPositionBase + t.number;
        case Resource::ServoError: return kServoErrorBase + t.number;
        case Resource::Register:
        case Resource::Flag: break;
    }
    return t.number;
}

}  // namespace

const ResourceRule* resourceRule(const QString& name) {
    for (const ResourceRule& rule : rules())
        if (rule.kind != Resource::Register && name == QLatin1String(rule.name)) return &rule;
    return nullptr;
}

const ResourceRule& ruleOf(Resource kind) {
    return rules()[static_cast<size_t>(kind)];
}

QString resourceNames() {
    QStringList names;
    for (const ResourceRule& rule : rules())
        if (rule.kind != Resource::Register) names << QLatin1String(rule.name);
    return names.join(QStringLiteral(", "));
}

QString targetName(const Target& target) {
    if (target.kind == Resource::Register) return QString::number(target.number);
    return QLatin1String(ruleOf(target.kind).name) + u':' + QString::number(target.number);
}

std::optional<QString> refusedValue(const Target& target, int32_t value) {
    const ResourceRule& rule = ruleOf(target.kind);
    if (!rule.writable) return targetName(target) + QStringLiteral(" cannot be written.");
    if (value < rule.low || value > rule.high)
        return QStringLiteral("%1 takes values from %2 to %3, not %4.")
            .arg(targetName(target))
            .arg(rule.low)
            .arg(rule.high)
            .arg(value);
    return std::nullopt;
}

std::optional<QString> missingTarget(Session& session, const Target& target) {
    if (target.kind != Resource::Flag) return std::nullopt;
    const int32_t count = session.state().connection.Counts.FlagCount();
    if (target.number <= count) return std::nullopt;
    return QStringLiteral("no flag %1: the controller has %2 flags.").arg(target.number).arg(count);
}

int32_t readTarget(Session& session, const Target& target, int32_t& value) {
    if (target.kind != Resource::Flag)
        return session.library().ZlGetRegister(session.handle(), registerOf(target), value);
    int32_t word = 0;
    const int32_t result = session.library().ZlGetRegister(
        session.handle(), flagWordRegister(session.state().connection.Counts, target.number), word);
    value = bitIsSet(word, flagBit(target.number)) ? 1 : 0;
    return result;
}

int32_t writeTarget(Session& session, const Target& target, int32_t value) {
    if (target.kind == Resource::Flag)
        return writeFlag(session.library(), session.handle(), target.number,
                         static_cast<int16_t>(value));
    return session.library().ZlPutRegister(session.handle(), registerOf(target), value);
}

}  // namespace zel::ctl
