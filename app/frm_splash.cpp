#include "frm_splash.h"

#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

#include "product_info.h"

namespace zel {
namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, int pointDelta = 0) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    // Larger, not bold: a bold face is one more font file to load before anything is shown.
    if (pointDelta != 0) {
        QFont f = l->font();
        f.setPointSize(f.pointSize() + pointDelta);
        l->setFont(f);
    }
    return l;
}

}  // namespace

frmSplash::frmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    lblProductName = label(this, "lblProductName", kProductName, 10);
    lblPlatform = label(this, "lblPlatform", platformText(), 2);
    lblVersion = label(this, "lblVersion", kVersionText);
    lblCompany = label(this, "lblCompany", kCompanyName);
    lblCopyright = label(this, "lblCopyright", kCopyright);
    for (QLabel* l : {lblProductName, lblPlatform, lblVersion, lblCompany, lblCopyright})
        layout->addWidget(l);
    resize(460, 260);
}

}  // namespace zel
