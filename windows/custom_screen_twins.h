// What makes the second custom screen differ from the first, held in one place.
#pragma once

#include <QString>

#include "common/app_state.h"
#include "settings/placement_sections.h"

namespace zel {

enum class CustomScreen { First, Second };

struct CustomScreenTwin {
    const char* caption;  // the window's own caption before it is first titled
    const char* title;    // put before the connection caption
    settings::PlacementSection section;
    bool WindowOpenFlags::*openFlag;
    QString FileSettings::*file;  // the definition file's path, kept in the Files section
    const char* closePrompt;      // asked on closing in resource mode when there is no path
    const char* saveFailure;
    // Leaving a number field applies the entry even on a "Not Selected" row.
    bool leavingAppliesNotSelected;
};

const CustomScreenTwin& customScreenTwin(CustomScreen screen);

}  // namespace zel
