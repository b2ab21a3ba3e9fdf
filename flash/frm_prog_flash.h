// "Update Firmware": the module list, Start Update, the log box, the progress bar, the baud
// button and the support button. The update and its questions are the model's.
#pragma once

#include <QWidget>
#include <memory>

#include "flash/firmware_update.h"

class QComboBox;
class QPlainTextEdit;
class QProgressBar;

namespace zel {

class frmProgFlash : public QWidget, private FirmwareUpdateView {
    Q_OBJECT
public:
    frmProgFlash(AppState& state, ZelLibrary& library, FirmwareHost& host,
                 QWidget* parent = nullptr);
    ~frmProgFlash() override;

    void open();
    void retitle(const QString& caption);

    FirmwareUpdate& model() { return *model_; }

private:
    void showLog(const QString& text) override;
    QString chooseImageFile(const QString& filter) override;
    bool askOkCancel(const QString& text) override;
    void showProgress(std::optional<int> percent) override;
    std::optional<int> selectModel(const ModelChoices& choices) override;
    std::optional<QString> askText(const QString& prompt) override;
    void setBusyPointer(bool busy) override;
    void showError(const QString& text) override;
    void showModules(const QStringList& items, int selected) override;

    QComboBox* Combo1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    std::unique_ptr<FirmwareUpdate> model_;
};

// The dialog's filter ("Text|patterns|Text|patterns", patterns split by "; ") as the name
// filters of a file dialog.
QStringList nameFiltersOf(const QString& filter);

}  // namespace zel
