// The sections in which windows keep their placement, with the defaults and failure messages
// of each.
#pragma once

#include "settings/window_placement.h"

#include <optional>

namespace zel::settings {

enum class PlacementSection {
    Registers,
    NVram,
    Flags,
    Digin,
    Digout,
    Analin,
    Analout,
    Servo,
    Status,
    Dtable,
    Custom1,
    Custom2,
    Trend,
    Traffic,
};

struct PlacementRule {
    PlacementSection section;
    const char* name;  // the section's name under the settings root
    WindowPlacement loadDefaults;
    // Taken instead of loadDefaults when the section cannot be opened.
    std::optional<WindowPlacement> noSectionDefaults;
    // Stored instead of the geometry when the window closes minimised or maximised; when
    // absent such a close stores nothing.
    std::optional<WindowPlacement> minimizedOrMaximized;
    const char* closeFailure;
    const char* writeFailure;
};

const PlacementRule& placementRule(PlacementSection section);

}  // namespace zel::settings
