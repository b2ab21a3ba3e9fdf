// Everything the setup dialog does to the main window and its other windows, so the dialog's
// rules run without a display. The main window implements it.
#pragma once

#include <QString>

namespace zel {

class SetupHost {
public:
    virtual ~SetupHost() = default;

    // The main window's status line, repainted at once.
    virtual void setMessage(const QString& text) = 0;
    virtual void setMainTitle(const QString& title) = 0;
    // Timer1, the polling tick: stopped while the dialog is open, restarted when it closes.
    virtual void stopPollingTimer() = 0;
    virtual void startPollingTimer(int intervalMs) = 0;
    // Timer2, which clears the status line and re-checks the connection on its next tick.
    virtual void enableReconnectTimer() = 0;
    // The DDE window's node field, which follows the node numbers typed here.
    virtual void setDdeNode(const QString& text) = 0;
    // A message box with only an OK button.
    virtual void showMessageBox(const QString& text) = 0;
};

}  // namespace zel
