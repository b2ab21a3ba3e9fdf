// The small window that shows an import's progress: a bar and a caption, both from the
// ImportProgress model. It cannot be closed while the import runs.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace zel::symbols {

class ImportProgress;

class frmSymbol : public QWidget {
    Q_OBJECT
public:
    explicit frmSymbol(ImportProgress& progress, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showProgress();

    ImportProgress& progress_;
    QProgressBar* VSElastic1;
    QLabel* lblProgress;
};

}  // namespace zel::symbols
