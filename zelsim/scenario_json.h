// Reading the parts of a scenario document.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include "scenario.h"

namespace zel::sim {

ModelInfo modelFromJson(const nlohmann::json& doc);
NetworkSetup networkFromJson(const nlohmann::json& j, const std::string& path);
TableSetup tableFromJson(const nlohmann::json& j, const std::string& path);
LinkFaultSettings linkFaultsFromJson(const nlohmann::json& j, const std::string& path);
std::vector<Animation> animationsFromJson(const nlohmann::json& j, const IoCounts& io,
                                          const std::string& path);

}  // namespace zel::sim
