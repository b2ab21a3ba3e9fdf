#include "app/frm_splash.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/product_info.h"

namespace zel {
namespace {

// Every line in the application font: another size or a bold face is one more font to load
// and rasterise before anything is on the screen.
QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter);
    return l;
}

}  // namespace

frmSplash::frmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    lblProductName = label(this, "lblProductName", kProductName);
    lblPlatform = label(this, "lblPlatform", platformText());
    lblVersion = label(this, "lblVersion", kVersionText);
    lblCompany = label(this, "lblCompany", kCompanyName);
    lblCopyright = label(this, "lblCopyright", kCopyright);
    // Only the notice is long enough to wrap; wrapping labels cost a text layout each.
    lblCopyright->setWordWrap(true);
    for (QLabel* l : {lblProductName, lblPlatform, lblVersion, lblCompany, lblCopyright})
        layout->addWidget(l);
    resize(460, 260);
}

}  // namespace zel
