// What the firmware update does to its window and to the main window, so its rules run without
// a display: the update window (frmProgFlash, with frmFlashSelect) implements the view, the main
// window the host.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "flash/model_selection.h"

namespace zel {

class FirmwareUpdateView {
public:
    virtual ~FirmwareUpdateView() = default;

    // Text1's whole text, repainted at once.
    virtual void showLog(const QString& text) = 0;
    // The file open dialog (CMDialog1); "" when cancelled.
    virtual QString chooseImageFile(const QString& filter) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool askOkCancel(const QString& text) = 0;
    // ProgressBar1: shown with the percentage, or hidden.
    virtual void showProgress(std::optional<int> percent) = 0;
    // frmFlashSelect, modal; the code of the confirmed model, none when not confirmed.
    virtual std::optional<int> selectModel(const ModelChoices& choices) = 0;
    // An input box; none when cancelled.
    virtual std::optional<QString> askText(const QString& prompt) = 0;
    virtual void setBusyPointer(bool busy) = 0;
    // A message box with the exclamation icon.
    virtual void showError(const QString& text) = 0;
    // Combo1's items.
    virtual void showModules(const QStringList& items, int selected) = 0;
};

class FirmwareHost {
public:
    virtual ~FirmwareHost() = default;

    // The main window's status line, repainted and logged.
    virtual void setMessage(const QString& text) = 0;
    // Timer1, the polling tick.
    virtual void stopPollingTimer() = 0;
    // Runs CheckComm and restarts Timer1.
    virtual void resumePolling() = 0;
    // The monitor's log file.
    virtual void writeLog(const QString& text) = 0;
};

}  // namespace zel
