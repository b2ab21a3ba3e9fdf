#include "settings/first_run.h"

#include "settings/main_settings.h"
#include "settings/settings_sections.h"

namespace zel::settings {

SettingsData firstRunSettings() {
    SettingsData data;
    for (const char* name : kProgramSections) data[sectionPath(QLatin1String(name))];
    addMainSectionDefaults(data);
    return data;
}

}  // namespace zel::settings
