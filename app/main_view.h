// What the main window's rules need from the window itself. frmMain implements it with widgets;
// tests implement it with a recorder, so every rule runs without a display.
#pragma once

#include <QString>

#include "connection_ui.h"
#include "window_placement.h"

namespace zel {

class MainView : public ConnectionUi {
public:
    // A message box with only an OK button and the default title.
    virtual void showPlainMessage(const QString& text) = 0;
    virtual void showWarning(const QString& text) = 0;

    virtual void setPlacement(const settings::WindowPlacement& twips) = 0;
    virtual settings::WindowPlacement placement() const = 0;
    virtual settings::DisplayState displayState() const = 0;

    // Timer1, the polling tick, and Timer3, which starts it.
    virtual void enablePollingTimer(bool enabled) = 0;
    virtual void disableStartTimer() = 0;
};

}  // namespace zel
