// What the main window's rules need from the window itself. frmMain implements it with widgets;
// tests implement it with a recorder, so every rule runs without a display.
#pragma once

#include <QString>

#include "common/state_colour.h"
#include "link/connection_ui.h"
#include "settings/window_placement.h"
#include "transfer/startup_files.h"

namespace zel {

class MainView : public ConnectionUi {
public:
    // A message box with only an OK button and the default title.
    virtual void showPlainMessage(const QString& text) = 0;
    virtual void showWarning(const QString& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // A question with OK and Cancel buttons and the question icon; true for OK.
    virtual bool askOkCancel(const QString& text) = 0;
    // frmFiles, modal: the user picks which remembered files are loaded.
    virtual void chooseStartupFiles(StartupFiles& choice) = 0;
    // The busy pointer over the whole application.
    virtual void setBusy(bool busy) = 0;

    virtual void setPlacement(const settings::WindowPlacement& twips) = 0;
    virtual settings::WindowPlacement placement() const = 0;
    virtual settings::DisplayState displayState() const = 0;

    // Timer1, the polling tick, and Timer3, which starts it.
    virtual void enablePollingTimer(bool enabled) = 0;
    virtual void disableStartTimer() = 0;
    // Timer2, which makes a reconnection the setup dialog asked for.
    virtual void enableReconnectTimer(bool enabled) = 0;

    // The suspend button: its caption and its text's colour.
    virtual void showSuspendButton(const QString& caption, StateColour colour) = 0;
    virtual void enableRunButtons(bool enabled) = 0;
    // The DDE window's node box, which the setup dialog fills with the target node.
    virtual void setDdeNode(const QString& text) = 0;
    // Makes the DDE window, hidden, so that its exchange runs from start-up when the settings
    // say it was running.
    virtual void loadDdeWindow() = 0;
};

}  // namespace zel
