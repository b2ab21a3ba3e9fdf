#include "flash/frm_flash_select.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zel {

frmFlashSelect::frmFlashSelect(const ModelChoices& choices, QWidget* parent)
    : QDialog(parent), choices_(choices) {
    setObjectName(QStringLiteral("frmFlashSelect"));
    setWindowTitle(QStringLiteral("Select Model to Download"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        QStringLiteral(
            "Failed to put programming mode.  Controller response indicates the controller may "
            "already be in programming mode and the module type cannot be identified.  This may "
            "happen if the previous download was from a corrupt or invalid firmware file or the "
            "download was interrupted.\n\nSelect the module type to download to from the "
            "available options in the selected file.  Selecting an incorrect firmware file can "
            "corrupt the module, requiring factory reprogramming.\n\nCYCLE CONTROLLER POWER "
            "BEFORE CONTINUING"),
        this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    layout->addWidget(label);
    for (size_t i = 0; i < Option1.size(); ++i) {
        Option1[i] = new QRadioButton(choices_.options[i].caption, this);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->setVisible(choices_.options[i].visible);
        layout->addWidget(Option1[i]);
    }
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    layout->addWidget(ok);
    layout->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> frmFlashSelect::chosenCode() const {
    if (result() != QDialog::Accepted) return std::nullopt;
    for (size_t i = 0; i < Option1.size(); ++i)
        if (choices_.options[i].visible && Option1[i]->isChecked()) return choices_.options[i].code;
    return std::nullopt;
}

}  // namespace zel
