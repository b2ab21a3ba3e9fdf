// Load and unload of a window: the placement comes back from the window's settings section when
// it loads and is saved there when it unloads, and the window's open flag and its unload text go
// with them. A window without a section keeps no placement.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "settings/placement_sections.h"
#include "resources/resource_services.h"

namespace zel {

// The stored placement of the section, showing its close failure message if there is one.
settings::WindowPlacement restoredPlacement(ResourceServices& services,
                                            settings::PlacementSection section);

class WindowLifecycle {
public:
    WindowLifecycle(ResourceServices& services, std::optional<settings::PlacementSection> section,
                    bool WindowOpenFlags::*openFlag, const char* unloadText);

    // A window not yet loaded gets its stored placement, if it has a section, and loads its
    // rows; one already loaded keeps where it is (no placement). Then the open flag is set.
    std::optional<settings::WindowPlacement> open(const std::function<void()>& loadRows);
    // Saves the placement in the section, if any (with its failure messages), clears the open
    // flag and reports the unload text. A window that was never loaded does nothing.
    void unload(settings::DisplayState display, const settings::WindowPlacement& current);

    bool isOpen() const { return services_.state.flags.windows.*openFlag_; }
    bool isLoaded() const { return loaded_; }

private:
    ResourceServices& services_;
    std::optional<settings::PlacementSection> section_;
    bool WindowOpenFlags::*openFlag_;
    const char* unloadText_;
    bool loaded_ = false;
};

}  // namespace zel
