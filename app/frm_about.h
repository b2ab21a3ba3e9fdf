// The about box: product, version, legal notice, and a way to the system information tool.
#pragma once

#include <QDialog>

namespace zel {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

private:
    void startSystemInfo();
};

}  // namespace zel
