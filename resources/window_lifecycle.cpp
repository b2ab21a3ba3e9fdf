#include "resources/window_lifecycle.h"

#include "settings/placement_store.h"

namespace zel {

settings::WindowPlacement restoredPlacement(ResourceServices& services,
                                            settings::PlacementSection section) {
    const settings::RestoredPlacement restored =
        settings::restorePlacement(services.store, section);
    if (restored.message) services.showMessageBox(*restored.message);
    return restored.placement;
}

WindowLifecycle::WindowLifecycle(ResourceServices& services,
                                 std::optional<settings::PlacementSection> section,
                                 bool WindowOpenFlags::*openFlag, const char* unloadText)
    : services_(services), section_(section), openFlag_(openFlag), unloadText_(unloadText) {}

std::optional<settings::WindowPlacement> WindowLifecycle::open(
    const std::function<void()>& loadRows) {
    std::optional<settings::WindowPlacement> placement;
    if (!loaded_) {
        if (section_) placement = restoredPlacement(services_, *section_);
        loadRows();
        loaded_ = true;
    }
    services_.state.flags.windows.*openFlag_ = true;
    return placement;
}

void WindowLifecycle::unload(settings::DisplayState display,
                             const settings::WindowPlacement& current) {
    if (!loaded_) return;
    loaded_ = false;
    if (section_) {
        const std::optional<QString> failure =
            settings::savePlacement(services_.store, *section_, display, current);
        if (failure) services_.showMessageBox(*failure);
    }
    services_.state.flags.windows.*openFlag_ = false;
    services_.setMessage(QString::fromLatin1(unloadText_));
}

}  // namespace zel
