#include "transfer/frm_files.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zel {

frmFiles::frmFiles(StartupFiles& choice, QWidget* parent) : QDialog(parent), choice_(choice) {
    setObjectName(QStringLiteral("frmFiles"));
    setWindowTitle(QStringLiteral("ZEL Monitor Utility Files Form"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Please select the files that you wish to load."), this);
    label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label);
    for (int i = 0; i < StartupFiles::kBoxes; ++i) {
        const StartupFileBox& b = choice_.box(i);
        auto* box = new QCheckBox(b.caption, this);
        box->setObjectName(QStringLiteral("SSCheck%1").arg(i + 1));
        box->setChecked(b.checked);
        box->setEnabled(b.enabled);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { choice_.setChecked(i, on); });
        layout->addWidget(box);
    }
    auto* buttons = new QHBoxLayout;
    auto* okay = new QPushButton(QStringLiteral("&Okay"), this);
    okay->setObjectName(QStringLiteral("SSCommand1"));
    okay->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("SSCommand2"));
    buttons->addStretch();
    buttons->addWidget(okay);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(okay, &QPushButton::clicked, this, [this] {
        choice_.accept();
        done(QDialog::Accepted);
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        choice_.cancel();
        done(QDialog::Rejected);
    });
}

// Escape and the close box come here; the Cancel button does not.
void frmFiles::reject() {
    choice_.dismiss();
    QDialog::reject();
}

}  // namespace zel
