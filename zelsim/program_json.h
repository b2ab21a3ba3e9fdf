// The program as JSON: {"steps": [{"number": 1, "dwell_ms": 500, "next": 2, "starts": [10],
// "writes": [{"register": 1001, "value": 1}], "fault": {"code": 13, "datum": 100}}, ...]}.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>

#include "program.h"

namespace zel::sim {

// Throws JsonShapeError naming the path below `path` that is wrong.
Program programFromJson(const nlohmann::json& j, const std::string& path);
nlohmann::json programToJson(const Program& program);

}  // namespace zel::sim
