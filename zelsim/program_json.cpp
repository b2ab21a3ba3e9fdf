#include "program_json.h"

#include <nlohmann/json.hpp>

#include "json_fields.h"

namespace zel::sim {

using nlohmann::json;

namespace {

constexpr int64_t kInt32Min = INT32_MIN;
constexpr int64_t kInt32Max = INT32_MAX;
constexpr int64_t kMaxDwellMs = 24LL * 3600 * 1000;

std::vector<RegisterWrite> writesFromJson(const json& j, const std::string& path) {
    requireArray(j, path);
    std::vector<RegisterWrite> out;
    for (size_t i = 0; i < j.size(); ++i) {
        const std::string at = childPath(path, i);
        allowKeys(j[i], {"register", "value"}, at);
        out.push_back({static_cast<int>(requiredInt(j[i], "register", 1, 40000, at)),
                       static_cast<int32_t>(requiredInt(j[i], "value", kInt32Min, kInt32Max, at))});
    }
    return out;
}

std::vector<int> startsFromJson(const json& j, const std::string& path) {
    requireArray(j, path);
    std::vector<int> out;
    for (size_t i = 0; i < j.size(); ++i)
        out.push_back(static_cast<int>(intValue(j[i], 1, kMaxStepNumber, childPath(path, i))));
    return out;
}

Step stepFromJson(const json& j, const std::string& path) {
    allowKeys(j, {"number", "dwell_ms", "next", "starts", "writes", "fault"}, path);
    Step s;
    s.number = static_cast<int>(requiredInt(j, "number", 1, kMaxStepNumber, path));
    s.dwellMs = static_cast<int>(intField(j, "dwell_ms", 0, 0, kMaxDwellMs, path));
    s.next = static_cast<int>(intField(j, "next", 0, 0, kMaxStepNumber, path));
    if (j.contains("starts")) s.starts = startsFromJson(j["starts"], childPath(path, "starts"));
    if (j.contains("writes")) s.writes = writesFromJson(j["writes"], childPath(path, "writes"));
    if (j.contains("fault")) {
        const std::string at = childPath(path, "fault");
        allowKeys(j["fault"], {"code", "datum"}, at);
        s.fault = StepFault{
            static_cast<int>(requiredInt(j["fault"], "code", 1, 255, at)),
            static_cast<int32_t>(intField(j["fault"], "datum", 0, kInt32Min, kInt32Max, at))};
    }
    return s;
}

json stepToJson(const Step& s) {
    json j = {{"number", s.number}, {"dwell_ms", s.dwellMs}, {"next", s.next}};
    if (!s.starts.empty()) j["starts"] = s.starts;
    if (!s.writes.empty()) {
        j["writes"] = json::array();
        for (const auto& w : s.writes)
            j["writes"].push_back({{"register", w.reg}, {"value", w.value}});
    }
    if (s.fault) j["fault"] = {{"code", s.fault->code}, {"datum", s.fault->datum}};
    return j;
}

}  // namespace

Program programFromJson(const json& j, const std::string& path) {
    allowKeys(j, {"steps"}, path);
    Program p;
    if (!j.contains("steps")) return p;
    const std::string stepsPath = childPath(path, "steps");
    requireArray(j["steps"], stepsPath);
    for (size_t i = 0; i < j["steps"].size(); ++i) {
        Step s = stepFromJson(j["steps"][i], childPath(stepsPath, i));
        if (p.steps.count(s.number))
            shapeError(childPath(stepsPath, i),
                       "step " + std::to_string(s.number) + " appears twice");
        p.steps.emplace(s.number, std::move(s));
    }
    return p;
}

json programToJson(const Program& program) {
    json steps = json::array();
    for (const auto& [number, step] : program.steps) steps.push_back(stepToJson(step));
    return {{"steps", steps}};
}

}  // namespace zel::sim
