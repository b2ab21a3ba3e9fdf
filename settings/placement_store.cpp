#include "settings/placement_store.h"

#include "settings/settings_sections.h"

namespace zel::settings {
RestoredPlacement restorePlacement(SettingsStore& store, PlacementSection section) {
    const PlacementRule& rule = placementRule(section);
    SettingsHandle handle = 0;
    if (!store.OpenSettingsKey(sectionPath(QLatin1String(rule.name)), handle)) {
        return {rule.noSectionDefaults.value_or(rule.loadDefaults), std::nullopt};
    }
    RestoredPlacement restored{rule.loadDefaults, std::nullopt};
    store.QueryNumberValue(handle, QStringLiteral("Top"), restored.placement.Top);
    store.QueryNumberValue(handle, QStringLiteral("Left"), restored.placement.Left);
    store.QueryNumberValue(handle, QStringLiteral("Height"), restored.placement.Height);
    store.QueryNumberValue(handle, QStringLiteral("Width"), restored.placement.Width);
    if (!store.CloseSettingsKey(handle)) restored.message = QString::fromLatin1(rule.closeFailure);
    return restored;
}

std::optional<QString> savePlacement(SettingsStore& store, PlacementSection section,
                                     DisplayState state, const WindowPlacement& current) {
    const PlacementRule& rule = placementRule(section);
    WindowPlacement stored = current;
    if (state != DisplayState::Normal) {
        if (!rule.minimizedOrMaximized) return std::nullopt;
        stored = *rule.minimizedOrMaximized;
    }
    SettingsHandle handle = 0;
    if (!store.OpenSettingsKey(sectionPath(QLatin1String(rule.name)), handle)) {
        return QString::fromLatin1(rule.writeFailure);
    }
    store.SetNumberValue(handle, QStringLiteral("Height"), stored.Height);
    store.SetNumberValue(handle, QStringLiteral("Left"), stored.Left);
    store.SetNumberValue(handle, QStringLiteral("Top"), stored.Top);
    store.SetNumberValue(handle, QStringLiteral("Width"), stored.Width);
    if (!store.CloseSettingsKey(handle)) return QString::fromLatin1(rule.closeFailure);
    return std::nullopt;
}

}  // namespace zel::settings
