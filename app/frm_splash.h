// The window shown while the monitor starts.
#pragma once

#include <QDialog>

class QLabel;

namespace zel {

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

private:
    QLabel* lblProductName;
    QLabel* lblPlatform;
    QLabel* lblVersion;
    QLabel* lblCompany;
    QLabel* lblCopyright;
};

}  // namespace zel
