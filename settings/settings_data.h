// The in-memory form of the settings file: sections by full path, values by name.
#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <variant>

namespace zel::settings {

// A value is either a 32-bit number or a text; the two kinds are never converted into each other.
using SettingsValue = std::variant<std::int32_t, QString>;
using SettingsSection = std::map<QString, SettingsValue>;
using SettingsData = std::map<QString, SettingsSection>;

}  // namespace zel::settings
