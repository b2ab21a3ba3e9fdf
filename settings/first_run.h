// What the settings file holds after a first run, or after a damaged file was set aside.
#pragma once

#include "settings/settings_data.h"

namespace zel::settings {

// Every program section, empty except the main window's four, which hold the values loading
// takes when they are missing.
SettingsData firstRunSettings();

}  // namespace zel::settings
