#include "app/frm_about.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "app/product_info.h"

namespace zel {
namespace {

// System information tools found on common Linux desktops, best first.
const QStringList kSystemInfoTools = {QStringLiteral("gnome-system-monitor"),
                                      QStringLiteral("kinfocenter"), QStringLiteral("hardinfo"),
                                      QStringLiteral("xfce4-taskmanager")};

QString findSystemInfoTool() {
    for (const QString& tool : kSystemInfoTools)
        if (!QStandardPaths::findExecutable(tool).isEmpty()) return tool;
    return {};
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + kProductName);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("<h2>%1</h2><p>%2<br>%3</p><p>%4</p><p>%5</p>")
                                .arg(kProductName, kVersionText, platformText(), kCompanyName,
                                     kCopyright),
                            this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* info = buttons->addButton(QStringLiteral("&System Info..."), QDialogButtonBox::ActionRole);
    info->setObjectName(QStringLiteral("cmdSysInfo"));
    if (findSystemInfoTool().isEmpty()) {
        info->setEnabled(false);
        info->setToolTip(QStringLiteral("No system information tool is installed."));
    }
    connect(info, &QPushButton::clicked, this, &frmAbout::startSystemInfo);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

void frmAbout::startSystemInfo() {
    const QString tool = findSystemInfoTool();
    if (tool.isEmpty() || !QProcess::startDetached(tool, {}))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("System information is unavailable at this time."));
}

}  // namespace zel
