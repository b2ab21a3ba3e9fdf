#include "first_run.h"

#include "main_settings.h"
#include "settings_sections.h"

namespace zel::settings {

SettingsData firstRunSettings() {
    SettingsData data;
    for (const char* name : kProgramSections) data[sectionPath(QLatin1String(name))];
    addMainSectionDefaults(data);
    return data;
}

}  // namespace zel::settings
