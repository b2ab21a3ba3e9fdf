#include "scenario.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "json_fields.h"
#include "program_json.h"
#include "scenario_json.h"

namespace zel::sim {

using nlohmann::json;

namespace {

std::map<int, int32_t> registersFromJson(const json& j, const std::string& path) {
    requireObject(j, path);
    std::map<int, int32_t> out;
    for (const auto& item : j.items()) {
        const int n = static_cast<int>(keyNumber(item.key(), 1, 40000, path));
        out[n] = static_cast<int32_t>(
            intValue(item.value(), INT32_MIN, INT32_MAX, childPath(path, item.key())));
    }
    return out;
}

std::map<int, double> vRegistersFromJson(const json& j, const std::string& path) {
    requireObject(j, path);
    std::map<int, double> out;
    for (const auto& item : j.items())
        out[static_cast<int>(keyNumber(item.key(), kFirstVRegister, kRegisterLimit, path))] =
            numberValue(item.value(), childPath(path, item.key()));
    return out;
}

std::vector<int> flagsFromJson(const json& j, int count, const std::string& path) {
    requireArray(j, path);
    std::vector<int> out;
    for (size_t i = 0; i < j.size(); ++i)
        out.push_back(static_cast<int>(intValue(j[i], 1, count, childPath(path, i))));
    return out;
}

Scenario scenarioFromJson(const json& doc) {
    allowKeys(doc,
              {"model", "io", "misc_io", "network", "table", "registers", "v_registers",
               "flags_set", "status", "config", "program", "link_faults", "animations"},
              "");
    Scenario s;
    s.model = modelFromJson(doc);
    if (doc.contains("network")) s.network = networkFromJson(doc["network"], "network");
    if (doc.contains("table")) s.table = tableFromJson(doc["table"], "table");
    if (doc.contains("registers")) s.registers = registersFromJson(doc["registers"], "registers");
    if (doc.contains("v_registers"))
        s.vRegisters = vRegistersFromJson(doc["v_registers"], "v_registers");
    if (doc.contains("flags_set"))
        s.flagsSet = flagsFromJson(doc["flags_set"], s.model.io.flags, "flags_set");
    s.status = static_cast<int32_t>(intField(doc, "status", 0, 0, 9, ""));
    if (s.status != 0 && s.status != 1 && s.status != 8 && s.status != 9)
        shapeError("status", "must be 0 (running), 1 (stopped), 8 or 9 (reset)");
    s.config = static_cast<int32_t>(intField(doc, "config", 0, 0, 15, ""));
    if (doc.contains("program")) s.program = programFromJson(doc["program"], "program");
    if (doc.contains("link_faults"))
        s.linkFaults = linkFaultsFromJson(doc["link_faults"], "link_faults");
    if (doc.contains("animations"))
        s.animations = animationsFromJson(doc["animations"], s.model.io, "animations");
    return s;
}

}  // namespace

Scenario parseScenario(const std::string& text, const std::string& name) {
    const json doc = json::parse(text, nullptr, false);
    if (doc.is_discarded()) throw ScenarioError(name + ": not valid JSON");
    try {
        return scenarioFromJson(doc);
    } catch (const JsonShapeError& e) {
        throw ScenarioError(name + ": " + e.what());
    }
}

Scenario loadScenarioFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ScenarioError(path + ": cannot open the file");
    std::ostringstream text;
    text << in.rdbuf();
    return parseScenario(text.str(), path);
}

}  // namespace zel::sim
