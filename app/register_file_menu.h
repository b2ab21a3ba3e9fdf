// The File menu's "&Upload Register File" and "&Download Register File": the register transfer
// with the platform's file dialogs, Yes/No questions, the main window's status line and the
// busy pointer.
#pragma once

#include <QWidget>

#include "transfer/register_transfer.h"

namespace zel {

class MainView;
class MainWindowModel;

class RegisterFileMenu final : private RegisterTransferView {
public:
    RegisterFileMenu(MainWindowModel& model, MainView& view, QWidget* parent);

    void upload() { transfer_.upload(); }
    void download() { transfer_.download(); }

private:
    QString chooseSaveFile() override;
    std::optional<QString> chooseOpenFile() override;
    bool confirm(const QString& question) override;
    void setMessage(const QString& text) override;
    void setBusy(bool busy) override;

    MainWindowModel& model_;
    MainView& view_;
    QWidget* parent_;
    RegisterTransfer transfer_;
};

}  // namespace zel
