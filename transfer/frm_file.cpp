#include "transfer/frm_file.h"

#include <QProgressBar>
#include <QVBoxLayout>
#include <cstdint>

#include "settings/widget_placement.h"
#include "settings/window_placement.h"

namespace zel {
namespace {

constexpr int32_t kRightTwips = 400;
constexpr int32_t kBelowTwips = 500;

}  // namespace

frmFile::frmFile(QWidget* anchor) : QWidget(anchor, Qt::Tool), anchor_(anchor) {
    setObjectName(QStringLiteral("frmFile"));
    auto* layout = new QVBoxLayout(this);
    SSPanel1 = new QProgressBar(this);
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    SSPanel1->setRange(0, 100);
    SSPanel1->setMinimumWidth(300);
    layout->addWidget(SSPanel1);
}

void frmFile::showProgress(const QString& caption) {
    setWindowTitle(caption);
    SSPanel1->setValue(0);
    const double dpi = settings::windowDpi(*this);
    move(anchor_->frameGeometry().topLeft() +
         QPoint(settings::twipsToPixels(kRightTwips, dpi),
                settings::twipsToPixels(kBelowTwips, dpi)));
    show();
}

void frmFile::setProgressCaption(const QString& caption) {
    if (caption != windowTitle()) setWindowTitle(caption);
}

void frmFile::setProgress(int percent) {
    if (percent == SSPanel1->value()) return;
    SSPanel1->setValue(percent);
    SSPanel1->repaint();
}

}  // namespace zel
