// What the list of windows tells a window about how it is kept: the settings section that holds
// its placement, the flag that counts it as open, and the status text of its unload.
#pragma once

#include <optional>

#include "common/monitoring_flags.h"
#include "settings/placement_sections.h"

namespace zel::settings {

struct WindowSlot {
    std::optional<PlacementSection> placement;  // none: the window keeps no placement
    bool WindowOpenFlags::*openFlag = nullptr;
    const char* unloadText = "";
};

}  // namespace zel::settings
