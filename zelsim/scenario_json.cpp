#include "scenario_json.h"

#include <nlohmann/json.hpp>

#include "json_fields.h"

namespace zel::sim {

using nlohmann::json;

namespace {

int count(const json& obj, const char* key, int max, const std::string& path) {
    return static_cast<int>(intField(obj, key, 0, 0, max, path));
}

std::array<int32_t, 4> octets(const json& obj, const char* key, const std::string& path) {
    std::array<int32_t, 4> out{};
    if (!obj.contains(key)) return out;
    const std::string at = childPath(path, key);
    const json& j = obj.at(key);
    if (!j.is_array() || j.size() != 4) shapeError(at, "must be an array of 4 numbers");
    for (size_t i = 0; i < 4; ++i)
        out[i] = static_cast<int32_t>(intValue(j[i], 0, 255, childPath(at, i)));
    return out;
}

}  // namespace

ModelInfo modelFromJson(const json& doc) {
    ModelInfo m;
    if (doc.contains("model")) {
        allowKeys(doc["model"], {"code", "second", "block_reads"}, "model");
        m.code = static_cast<int>(requiredInt(doc["model"], "code", 1, 255, "model"));
        m.second =
            static_cast<int>(intField(doc["model"], "second", 1, INT32_MIN, INT32_MAX, "model"));
        m.blockReads = boolField(doc["model"], "block_reads", true, "model");
    }
    if (doc.contains("io")) {
        const json& io = doc["io"];
        allowKeys(
            io,
            {"flags", "inputs", "outputs", "steppers", "servos", "analog_inputs", "analog_outputs"},
            "io");
        m.io = IoCounts{count(io, "flags", kMaxFlags, "io"),
                        count(io, "inputs", kMaxDigital, "io"),
                        count(io, "outputs", kMaxDigital, "io"),
                        count(io, "steppers", 255, "io"),
                        count(io, "servos", kMaxServos, "io"),
                        count(io, "analog_inputs", kMaxAnalog, "io"),
                        count(io, "analog_outputs", kMaxAnalog, "io")};
    }
    if (doc.contains("misc_io")) {
        const json& misc = doc["misc_io"];
        allowKeys(misc, {"proto_boards", "hs_counters", "thumbwheels", "displays"}, "misc_io");
        m.misc = MiscCounts{
            count(misc, "proto_boards", 255, "misc_io"), count(misc, "hs_counters", 255, "misc_io"),
            count(misc, "thumbwheels", 255, "misc_io"), count(misc, "displays", 255, "misc_io")};
    }
    return m;
}

NetworkSetup networkFromJson(const json& j, const std::string& path) {
    allowKeys(j, {"node", "mac_high", "mac_low", "ip", "mask", "gateway"}, path);
    NetworkSetup n;
    n.node = static_cast<int32_t>(intField(j, "node", 1, 0, 65535, path));
    n.macHigh = static_cast<int32_t>(intField(j, "mac_high", 0, 0, 0xFFFFFF, path));
    n.macLow = static_cast<int32_t>(intField(j, "mac_low", 0, 0, 0xFFFFFF, path));
    n.ip = octets(j, "ip", path);
    n.mask = octets(j, "mask", path);
    n.gateway = octets(j, "gateway", path);
    return n;
}

TableSetup tableFromJson(const json& j, const std::string& path) {
    allowKeys(j, {"rows", "columns", "values"}, path);
    TableSetup t;
    t.rows = static_cast<int>(intField(j, "rows", 0, 0, 65535, path));
    t.columns = static_cast<int>(intField(j, "columns", 0, 0, 256, path));
    if (!j.contains("values")) return t;
    const std::string at = childPath(path, "values");
    requireArray(j["values"], at);
    if (j["values"].size() > static_cast<size_t>(t.rows)) shapeError(at, "more rows than `rows`");
    for (size_t r = 0; r < j["values"].size(); ++r) {
        const json& row = j["values"][r];
        requireArray(row, childPath(at, r));
        if (row.size() > static_cast<size_t>(t.columns))
            shapeError(childPath(at, r), "more values than `columns`");
        std::vector<uint16_t> values;
        for (size_t c = 0; c < row.size(); ++c)
            values.push_back(static_cast<uint16_t>(
                intValue(row[c], -32768, 65535, childPath(childPath(at, r), c))));
        t.values.push_back(std::move(values));
    }
    return t;
}

LinkFaultSettings linkFaultsFromJson(const json& j, const std::string& path) {
    allowKeys(j,
              {"latency_ms", "drop_rate", "drop_every", "corrupt_rate", "close_after",
               "error_ranges", "seed"},
              path);
    LinkFaultSettings f;
    f.latencyMs = static_cast<int>(intField(j, "latency_ms", 0, 0, 600000, path));
    f.dropRate = numberField(j, "drop_rate", 0, 0, 1, path);
    f.dropEvery = static_cast<int>(intField(j, "drop_every", 0, 0, INT32_MAX, path));
    f.corruptRate = numberField(j, "corrupt_rate", 0, 0, 1, path);
    f.closeAfter = static_cast<int>(intField(j, "close_after", 0, 0, INT32_MAX, path));
    f.seed = static_cast<uint64_t>(intField(j, "seed", 1, 0, INT64_MAX, path));
    if (!j.contains("error_ranges")) return f;
    const std::string at = childPath(path, "error_ranges");
    requireArray(j["error_ranges"], at);
    for (size_t i = 0; i < j["error_ranges"].size(); ++i) {
        const json& r = j["error_ranges"][i];
        const std::string ri = childPath(at, i);
        allowKeys(r, {"first", "last", "code"}, ri);
        ErrorRange range{static_cast<int>(requiredInt(r, "first", 1, 40000, ri)),
                         static_cast<int>(requiredInt(r, "last", 1, 40000, ri)),
                         static_cast<uint16_t>(requiredInt(r, "code", 1, 65535, ri))};
        if (range.last < range.first) shapeError(ri, "last is below first");
        f.errorRanges.push_back(range);
    }
    return f;
}

}  // namespace zel::sim
