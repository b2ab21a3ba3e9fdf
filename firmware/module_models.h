// The modules an image can carry a section for: the model code the controller reports in
// register 13008 (0 for the communication module, which has none), the tag that marks the
// section in the image, and the module's name.
#pragma once

#include <array>
#include <string_view>

namespace zel::firmware {

struct ModuleModel {
    int code;
    std::string_view tag;
    std::string_view name;
};

inline constexpr std::array<ModuleModel, 6> kModuleModels{{
    {11, "4815KR", "4815K CPU Module"},
    {12, "4815KPR", "4815KP CPU Module"},
    {14, "4815KPZR", "4815KPZ CPU Module"},
    {16, "4815KPZMaxR", "4815KPZMax CPU Module"},
    {15, "7400R", "7400 Series Controller"},
    {0, "4826", "4826/4826N Comm/DeviceNet Module"},
}};

// The model whose tag the line contains; null when it names none.
inline const ModuleModel* modelNamedIn(std::string_view line) {
    for (const auto& model : kModuleModels)
        if (line.find(model.tag) != std::string_view::npos) return &model;
    return nullptr;
}

}  // namespace zel::firmware
