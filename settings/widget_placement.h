// What a window's placement is saved and restored from, read off its widget: the screen's
// dots per inch (96 when the platform reports none, as offscreen may) and whether the window
// is minimised or maximised. Header only, for the form libraries, which link Qt Widgets;
// the settings library itself stays QtCore only.
#pragma once

#include <QWidget>

#include "settings/window_placement.h"

namespace zel::settings {

inline double windowDpi(const QWidget& window) {
    return window.logicalDpiY() > 0 ? window.logicalDpiY() : 96.0;
}

inline DisplayState displayStateOf(const QWidget& window) {
    if (window.isMinimized()) return DisplayState::Minimized;
    if (window.isMaximized()) return DisplayState::Maximized;
    return DisplayState::Normal;
}

}  // namespace zel::settings
