#include "transfer/frm_load_main.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "settings/widget_placement.h"
#include "settings/window_placement.h"
#include "transfer/frm_file.h"

namespace zel {
namespace {

constexpr int32_t kOffsetTwips = 200;

}  // namespace

frmLoadMain::frmLoadMain(AppState& state, ZelLibrary& library, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmLoadMain"));
    setWindowTitle(QStringLiteral("Program Transfer Utility"));
    auto* grid = new QGridLayout(this);
    auto addRow = [&](int row, const QString& label, const char* button) {
        auto* text = new QLabel(label, this);
        text->setObjectName(QStringLiteral("Label1"));
        auto* command = new QPushButton(this);
        command->setObjectName(QString::fromLatin1(button));
        command->setFixedWidth(40);
        grid->addWidget(command, row, 0);
        grid->addWidget(text, row, 1);
        return command;
    };
    QPushButton* download = addRow(0, QStringLiteral("Tavrel Program Download "), "Command1_3");
    QPushButton* upload = addRow(1, QStringLiteral("Tavrel Program Upload"), "Command1_4");
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    grid->addWidget(Label2, 2, 0, 1, 2);
    auto* exit = new QPushButton(QStringLiteral("E&xit"), this);
    exit->setObjectName(QStringLiteral("ExitButton"));
    grid->addWidget(exit, 3, 1, Qt::AlignRight);

    progress_ = new frmFile(this);
    model_ = std::make_unique<ProgramTransfer>(state, library, static_cast<ProgramTransferView&>(*this));
    model_->load();
    connect(download, &QPushButton::clicked, this, [this] { model_->DownloadProgram(); });
    connect(upload, &QPushButton::clicked, this, [this] { model_->UploadProgram(); });
    connect(exit, &QPushButton::clicked, this, &QWidget::hide);
}

frmLoadMain::~frmLoadMain() = default;

void frmLoadMain::open(const QPoint& mainTopLeft) {
    Label2->clear();
    const double dpi = settings::windowDpi(*this);
    const int offset = settings::twipsToPixels(kOffsetTwips, dpi);
    move(mainTopLeft + QPoint(offset, offset));
    show();
    raise();
    activateWindow();
}

std::optional<QString> frmLoadMain::chooseFile(const DsoFileDialog& dialog) {
    QFileDialog box(this, dialog.title);
    box.setAcceptMode(dialog.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(dialog.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setOption(QFileDialog::DontConfirmOverwrite);
    box.setDefaultSuffix(dialog.defaultSuffix);
    box.setNameFilters(dialog.filters);
    box.selectNameFilter(dialog.filters.value(0));
    if (!dialog.initialName.isEmpty()) box.selectFile(dialog.initialName);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.selectedFiles().value(0);
}

void frmLoadMain::messageBox(const QString& text, TransferIcon icon) {
    const QMessageBox::Icon shown = icon == TransferIcon::Exclamation   ? QMessageBox::Warning
                                    : icon == TransferIcon::Information ? QMessageBox::Information
                                                                        : QMessageBox::NoIcon;
    QMessageBox box(shown, windowTitle(), text, QMessageBox::Ok, this);
    box.exec();
}

bool frmLoadMain::askOkCancel(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), text,
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    return box.exec() == QMessageBox::Ok;
}

bool frmLoadMain::askYesNo(const QString& text) {
    return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void frmLoadMain::setStatus(const QString& text) {
    Label2->setText(text);
    Label2->repaint();
}

FileProgressView& frmLoadMain::fileProgress() {
    return *progress_;
}

void frmLoadMain::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace zel
