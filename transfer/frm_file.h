// frmFile: the small modeless window that shows a companion register file's progress, placed
// 500 twips below and 400 right of the program transfer window.
#pragma once

#include <QWidget>

#include "transfer/file_progress_view.h"

class QProgressBar;

namespace zel {

class frmFile : public QWidget, public FileProgressView {
    Q_OBJECT
public:
    // `anchor` is the program transfer window the progress is placed beside.
    explicit frmFile(QWidget* anchor);

    void showProgress(const QString& caption) override;
    void setProgressCaption(const QString& caption) override;
    void setProgress(int percent) override;
    void unloadProgress() override { hide(); }

private:
    QWidget* anchor_;
    QProgressBar* SSPanel1 = nullptr;
};

}  // namespace zel
