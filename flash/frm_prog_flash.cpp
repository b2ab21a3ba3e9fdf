#include "flash/frm_prog_flash.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "common/delay.h"
#include "flash/frm_flash_select.h"

namespace zel {

QStringList nameFiltersOf(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QStringLiteral("; "), QStringLiteral(" "));
        filters.append(parts[i].section(u'(', 0, 0).trimmed() + QStringLiteral(" (") + patterns +
                       u')');
    }
    return filters;
}

frmProgFlash::frmProgFlash(AppState& state, ZelLibrary& library, FirmwareHost& host,
                           QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmProgFlash"));
    setWindowTitle(QStringLiteral("Update Firmware"));
    auto* grid = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("Select Module to Update"), this);
    label->setObjectName(QStringLiteral("lblModule"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setPlaceholderText(QStringLiteral("Select Module"));
    auto* start = new QPushButton(QStringLiteral("Start Update"), this);
    start->setObjectName(QStringLiteral("SSCommand1"));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->hide();
    auto* baud = new QPushButton(QStringLiteral("Baud"), this);
    baud->setObjectName(QStringLiteral("Command1"));
    auto* support = new QPushButton(QStringLiteral("Support"), this);
    support->setObjectName(QStringLiteral("Command2"));
    grid->addWidget(label, 0, 0);
    grid->addWidget(Combo1, 0, 1);
    grid->addWidget(start, 0, 2);
    grid->addWidget(Text1, 1, 0, 1, 3);
    grid->addWidget(ProgressBar1, 2, 0, 1, 3);
    grid->addWidget(baud, 3, 1);
    grid->addWidget(support, 3, 2);

    const EventPump pump = [] { QCoreApplication::processEvents(); };
    model_ = std::make_unique<FirmwareUpdate>(
        state, library, static_cast<FirmwareUpdateView&>(*this), host,
        [pump](double seconds) { Delay(static_cast<float>(seconds), pump); }, pump);
    model_->load();
    connect(Combo1, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_->selectModule(index); });
    connect(start, &QPushButton::clicked, this, [this] { model_->StartUpdate(); });
    connect(baud, &QPushButton::clicked, this, [this] { model_->cycleBaud(); });
    connect(support, &QPushButton::clicked, this, [this] { model_->enterSupportCode(); });
}

frmProgFlash::~frmProgFlash() = default;

void frmProgFlash::open() {
    show();
    raise();
    activateWindow();
}

void frmProgFlash::retitle(const QString& caption) {
    setWindowTitle(QStringLiteral("Update Firmware") + caption);
}

void frmProgFlash::showLog(const QString& text) {
    Text1->setPlainText(text);
    Text1->repaint();
}

QString frmProgFlash::chooseImageFile(const QString& filter) {
    QFileDialog box(this);
    box.setFileMode(QFileDialog::ExistingFile);
    box.setNameFilters(nameFiltersOf(filter));
    if (box.exec() != QDialog::Accepted) return {};
    return box.selectedFiles().value(0);
}

bool frmProgFlash::askOkCancel(const QString& text) {
    return QMessageBox::question(this, windowTitle(), text,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void frmProgFlash::showProgress(std::optional<int> percent) {
    ProgressBar1->setVisible(percent.has_value());
    if (percent) ProgressBar1->setValue(*percent);
    repaint();
}

std::optional<int> frmProgFlash::selectModel(const ModelChoices& choices) {
    frmFlashSelect select(choices, this);
    select.exec();
    return select.chosenCode();
}

std::optional<QString> frmProgFlash::askText(const QString& prompt) {
    bool ok = false;
    const QString text = QInputDialog::getText(this, windowTitle(), prompt,
                                               QLineEdit::Normal, {}, &ok);
    if (!ok) return std::nullopt;
    return text;
}

void frmProgFlash::setBusyPointer(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmProgFlash::showError(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

void frmProgFlash::showModules(const QStringList& items, int selected) {
    const QSignalBlocker quiet(Combo1);
    Combo1->clear();
    Combo1->addItems(items);
    Combo1->setCurrentIndex(selected);
}

}  // namespace zel
