// The program transfer window: a download and an upload button, the status line and Exit,
// which hides the window. The transfers and their questions are the model's.
#pragma once

#include <QWidget>
#include <memory>

#include "common/app_state.h"
#include "link/zel_library.h"
#include "transfer/program_transfer.h"

class QLabel;

namespace zel {
class frmFile;
}

namespace zel {

class frmLoadMain : public QWidget, private ProgramTransferView {
    Q_OBJECT
public:
    frmLoadMain(AppState& state, ZelLibrary& library, QWidget* parent = nullptr);
    ~frmLoadMain() override;

    // Clears the status line, places the window 200 twips right of and below `mainTopLeft` (the
    // main window's frame position, in pixels) and shows it.
    void open(const QPoint& mainTopLeft);
    void retitle(const QString&) {}

    ProgramTransfer& model() { return *model_; }

private:
    std::optional<QString> chooseFile(const DsoFileDialog& dialog) override;
    void messageBox(const QString& text, TransferIcon icon) override;
    bool askOkCancel(const QString& text) override;
    bool askYesNo(const QString& text) override;
    void setStatus(const QString& text) override;
    void setBusy(bool busy) override;
    FileProgressView& fileProgress() override;

    QLabel* Label2 = nullptr;
    frmFile* progress_ = nullptr;
    std::unique_ptr<ProgramTransfer> model_;
    bool busy_ = false;
};

}  // namespace zel
