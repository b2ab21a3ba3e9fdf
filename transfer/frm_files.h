// frmFiles, the start-up choice of remembered files: a box per remembered file name, Okay and
// Cancel. The rules are StartupFiles'.
#pragma once

#include <QDialog>

#include "transfer/startup_files.h"

namespace zel {

class frmFiles : public QDialog {
    Q_OBJECT
public:
    explicit frmFiles(StartupFiles& choice, QWidget* parent = nullptr);
    void reject() override;

private:
    StartupFiles& choice_;
};

}  // namespace zel
