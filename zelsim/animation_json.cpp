#include <nlohmann/json.hpp>

#include "json_fields.h"
#include "scenario_json.h"

namespace zel::sim {

using nlohmann::json;

namespace {

using Kind = Animation::Kind;

Kind kindFromName(const json& j, const std::string& path) {
    if (!j.is_string()) shapeError(path, "must be a text");
    const std::string name = j.get<std::string>();
    if (name == "toggle_input") return Kind::ToggleInput;
    if (name == "analog_wave") return Kind::AnalogWave;
    if (name == "servo_travel") return Kind::ServoTravel;
    if (name == "input_follows_output") return Kind::InputFollowsOutput;
    if (name == "output_follows_input") return Kind::OutputFollowsInput;
    if (name == "table_count") return Kind::TableCount;
    shapeError(path, "unknown kind \"" + name +
                         "\" (toggle_input, analog_wave, servo_travel, input_follows_output, "
                         "output_follows_input, table_count)");
}

Animation animationFromJson(const json& j, const std::string& path) {
    allowKeys(j,
              {"kind", "input", "output", "servo", "row", "column", "period_ms", "min", "max",
               "from", "to", "speed", "pause_ms", "delay_ms"},
              path);
    if (!j.contains("kind")) shapeError(childPath(path, "kind"), "is missing");
    Animation a;
    a.kind = kindFromName(j["kind"], childPath(path, "kind"));
    a.periodMs = static_cast<int>(intField(j, "period_ms", 1000, 2, 3600000, path));
    switch (a.kind) {
        case Kind::ToggleInput:
            a.target = static_cast<int>(requiredInt(j, "input", 1, kMaxDigital, path));
            break;
        case Kind::AnalogWave:
            a.target = static_cast<int>(requiredInt(j, "input", 1, kMaxAnalog, path));
            a.low = static_cast<int32_t>(intField(j, "min", -20000, INT32_MIN, INT32_MAX, path));
            a.high = static_cast<int32_t>(intField(j, "max", 20000, INT32_MIN, INT32_MAX, path));
            break;
        case Kind::ServoTravel:
            a.target = static_cast<int>(requiredInt(j, "servo", 1, kMaxServos, path));
            a.low = static_cast<int32_t>(requiredInt(j, "from", INT32_MIN, INT32_MAX, path));
            a.high = static_cast<int32_t>(requiredInt(j, "to", INT32_MIN, INT32_MAX, path));
            a.speed = static_cast<int32_t>(intField(j, "speed", 1000, 1, INT32_MAX, path));
            a.pauseMs = static_cast<int>(intField(j, "pause_ms", 0, 0, 3600000, path));
            break;
        case Kind::InputFollowsOutput:
            a.target = static_cast<int>(requiredInt(j, "input", 1, kMaxDigital, path));
            a.source = static_cast<int>(requiredInt(j, "output", 1, kMaxDigital, path));
            a.delayMs = static_cast<int>(intField(j, "delay_ms", 0, 0, 3600000, path));
            break;
        case Kind::OutputFollowsInput:
            a.target = static_cast<int>(requiredInt(j, "output", 1, kMaxDigital, path));
            a.source = static_cast<int>(requiredInt(j, "input", 1, kMaxDigital, path));
            break;
        case Kind::TableCount:
            a.target = static_cast<int>(requiredInt(j, "row", 1, 65535, path));
            a.source = static_cast<int>(requiredInt(j, "column", 1, 256, path));
            break;
    }
    return a;
}

// An animation must drive resources the scenario has.
void checkPresent(const Animation& a, const IoCounts& io, const std::string& path) {
    auto need = [&](int n, int have, const char* what) {
        if (n > have)
            shapeError(path, std::string(what) + " " + std::to_string(n) + " is not present");
    };
    switch (a.kind) {
        case Kind::ToggleInput:
            need(a.target, io.inputs, "input");
            break;
        case Kind::AnalogWave:
            need(a.target, io.analogIns, "analog input");
            break;
        case Kind::ServoTravel:
            need(a.target, io.servos, "servo");
            break;
        case Kind::InputFollowsOutput:
            need(a.target, io.inputs, "input");
            need(a.source, io.outputs, "output");
            break;
        case Kind::OutputFollowsInput:
            need(a.target, io.outputs, "output");
            need(a.source, io.inputs, "input");
            break;
        case Kind::TableCount:  // a cell outside the table is left alone, as a write there fails
            break;
    }
}

}  // namespace

std::vector<Animation> animationsFromJson(const json& j, const IoCounts& io,
                                          const std::string& path) {
    requireArray(j, path);
    std::vector<Animation> out;
    for (size_t i = 0; i < j.size(); ++i) {
        out.push_back(animationFromJson(j[i], childPath(path, i)));
        checkPresent(out.back(), io, childPath(path, i));
    }
    return out;
}

}  // namespace zel::sim
