#include "windows/custom_resource_kinds.h"

#include <array>
#include <limits>

namespace zel {
namespace {

constexpr int16_t kServoError = 8;
constexpr int16_t kLastKind = 12;

struct KindRule {
    const char* text;
    const char* chosenMessage;
    const char* enteredMessage;
    int32_t registerOffset;
    int32_t servoInputWeight;  // 0 for a kind shown as a number
};

constexpr std::array<KindRule, kLastKind + 1> kKinds = {{
    {"Not Selected", "", "", 0, 0},
    {"Flag", "No such FLAG exists.", "No such FLAG exist.", 0, 0},
    {"Digital Input", "No such digital input exists.", "No such DIGITAL INPUT exists.", 2000, 0},
    {"Digital Output", "No such digital output exists.", "No such DIGITAL OUTPUT exists.", 1000,
     0},
    {"Analog Input", "No such analog input exists.", "No such ANALOG INPUT exists.", 8500, 0},
    {"Analog Output", "No such analog output exists.", "No such ANALOG OUTPUT exists.", 8000, 0},
    {"Register", "No such register exists.", "No such REGISTER exists.", 0, 0},
    {"Servo Position", "No such servo motor exists.", "No such SERVO exists.", 14000, 0},
    {"Servo Error", "No such servo motor exists.", "No such servo motor exist.", 14100, 0},
    {"Servo Home Inp", "No such servo motor exists.", "No such servo motor exist.", 14700, 2},
    {"Servo Start Inp", "No such servo motor exists.", "No such servo motor exist.", 14700, 4},
    {"Servo Revl Inp", "No such servo motor exists.", "No such servo motor exist.", 14700, 16},
    {"Servo Fwdl Inp", "No such servo motor exists.", "No such servo motor exist.", 14700, 32},
}};

// A kind outside the list counts as "Not Selected".
const KindRule& rule(int16_t kind) {
    return kind < 0 || kind > kLastKind ? kKinds[0] : kKinds[static_cast<size_t>(kind)];
}

bool servoInputsOffered(int32_t modelCode) {
    return modelCode == 3 || modelCode > 4;
}

}  // namespace

QStringList customKindList(int32_t modelCode) {
    QStringList list;
    const int16_t last = servoInputsOffered(modelCode) ? kLastKind : kServoError;
    for (int16_t kind = 0; kind <= last; ++kind) list << QString::fromLatin1(rule(kind).text);
    return list;
}

QString customKindText(int16_t kind) {
    return QString::fromLatin1(rule(kind).text);
}

int32_t customKindLimit(int16_t kind, const AppState& state) {
    const IOCounts& counts = state.connection.Counts;
    switch (kind) {
        case kNotSelected:
            return std::numeric_limits<int32_t>::max();
        case kFlagKind:
            return counts.FlagCount();
        case 2:
        case 3:
            return 1000;
        case 4:
        case 5:
            return 256;
        case 6:
            return state.RegisterLimit;
        default:
            return counts.ServoCount();
    }
}

LimitMessage kindChosenMessage(int16_t kind) {
    return {QString::fromLatin1(rule(kind).chosenMessage),
            kind == kLastKind ? BoxIcon::None : BoxIcon::Exclamation};
}

LimitMessage numberEnteredMessage(int16_t kind) {
    return {QString::fromLatin1(rule(kind).enteredMessage), BoxIcon::Exclamation};
}

std::optional<SymbolCode> customKindSymbols(int16_t kind) {
    switch (kind) {
        case kFlagKind:
            return SymbolCode::Flag;
        case 2:
            return SymbolCode::DigitalInput;
        case 3:
            return SymbolCode::DigitalOutput;
        case 4:
            return SymbolCode::AnalogInput;
        case 5:
            return SymbolCode::AnalogOutput;
        case 6:
            return SymbolCode::Register;
        case 7:
            return SymbolCode::Servo;
        default:
            return std::nullopt;
    }
}

int32_t customValueRegister(int16_t kind, int32_t number) {
    return rule(kind).registerOffset + number;
}

std::optional<int> customValueBit(int16_t kind) {
    const int32_t weight = rule(kind).servoInputWeight;
    if (weight == 0) return std::nullopt;
    int bit = 0;
    while ((weight >> bit) != 1) ++bit;
    return bit;
}

QString customValueText(int16_t kind, int32_t value) {
    const int32_t weight = rule(kind).servoInputWeight;
    if (weight == 0) return QString::number(value);
    return (value & weight) != 0 ? QStringLiteral("Active") : QStringLiteral("InActive");
}

std::optional<CustomWrite> customWrite(int16_t kind) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    switch (kind) {
        case kFlagKind:
            return CustomWrite{0, 1, 0, "Flag #"};
        case 3:
            return CustomWrite{0, 1, 1000, "Output #"};
        case 5:
            return CustomWrite{0, 10000, 8000, "Analog Output #"};
        case 6:
            return CustomWrite{kMin, kMax, 0, "Register #"};
        case 7:
            return CustomWrite{kMin, kMax, 14000, "Servo Position #"};
        default:
            return std::nullopt;
    }
}

}  // namespace zel
