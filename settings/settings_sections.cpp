#include "settings/settings_sections.h"

namespace zel::settings {

QString sectionPath(const QString& name) {
    return QLatin1String(kSectionRoot) + name;
}

}  // namespace zel::settings
