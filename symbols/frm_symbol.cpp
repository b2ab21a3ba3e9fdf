#include "symbols/frm_symbol.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "symbols/import_progress.h"

namespace zel::symbols {

frmSymbol::frmSymbol(ImportProgress& progress, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      progress_(progress) {
    setObjectName(QStringLiteral("frmSymbol"));
    setWindowTitle(QStringLiteral("Scanning Symbol File"));
    VSElastic1 = new QProgressBar(this);
    VSElastic1->setObjectName(QStringLiteral("VSElastic1"));
    VSElastic1->setRange(0, 100);
    VSElastic1->setTextVisible(false);
    lblProgress = new QLabel(this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(VSElastic1);
    layout->addWidget(lblProgress);
    resize(380, 90);

    connect(&progress_, &ImportProgress::shown, this, [this] {
        showProgress();
        show();
        raise();
    });
    connect(&progress_, &ImportProgress::changed, this, [this] {
        showProgress();
        repaint();
    });
    connect(&progress_, &ImportProgress::hidden, this, &QWidget::hide);
}

void frmSymbol::showProgress() {
    VSElastic1->setValue(progress_.percent());
    lblProgress->setText(progress_.caption());
}

void frmSymbol::closeEvent(QCloseEvent* event) {
    if (progress_.isShown())
        event->ignore();
    else
        event->accept();
}

}  // namespace zel::symbols
