#include "windows/custom_screen_twins.h"

namespace zel {

const CustomScreenTwin& customScreenTwin(CustomScreen screen) {
    static const CustomScreenTwin first{"Custom Resource Form 1",
                                        "Custom Screen 1",
                                        settings::PlacementSection::Custom1,
                                        &WindowOpenFlags::Custom1FormOpen,
                                        &FileSettings::CustomScreen1File,
                                        "Save Changes to Custom Form 1?",
                                        "Error Saving File",
                                        true};
    static const CustomScreenTwin second{"Custom Resource Form 2",
                                         "Custom Screen 2",
                                         settings::PlacementSection::Custom2,
                                         &WindowOpenFlags::Custom2FormOpen,
                                         &FileSettings::CustomScreen2File,
                                         "Save Changes to Custom Form 2?",
                                         "Error Saving File!",
                                         false};
    return screen == CustomScreen::First ? first : second;
}

}  // namespace zel
