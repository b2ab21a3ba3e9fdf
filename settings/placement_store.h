// Restoring a window's placement when it loads and saving it when it unloads. No widgets: the
// caller applies the placement and shows the message, if any, in a message box.
#pragma once

#include "settings/placement_sections.h"
#include "settings/settings_store.h"

#include <QString>

#include <optional>

namespace zel::settings {

struct RestoredPlacement {
    WindowPlacement placement;
    std::optional<QString> message;  // the section's close failure message
};

// Each value that is missing or not a number takes its load default; a section that cannot be
// opened gives all defaults (the no-section ones where the window has them) and no message.
RestoredPlacement restorePlacement(SettingsStore& store, PlacementSection section);

// Stores `current` (in twips), or the section's fixed values when the window is minimised or
// maximised. Returns the write failure message when the section cannot be opened, the close
// failure message when it cannot be closed.
std::optional<QString> savePlacement(SettingsStore& store, PlacementSection section,
                                     DisplayState state, const WindowPlacement& current);

}  // namespace zel::settings
