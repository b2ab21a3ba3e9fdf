#include "transfer/frm_compare.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Compare with Controller");

}  // namespace

frmCompare::frmCompare(AppState& state, ZelLibrary& library, SymbolLookup* symbols,
                       std::function<void(const QString&)> message, QWidget* parent)
    : QWidget(parent, Qt::Window),
      message_(std::move(message)),
      model_(state, library, symbols, *this, [] { QApplication::processEvents(); }) {
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);
    auto* table = new QTableView(this);
    table->setObjectName(QStringLiteral("Differences"));
    table->setModel(&model_);
    table->setSortingEnabled(true);
    table->sortByColumn(RegisterCompare::RegisterColumn, Qt::AscendingOrder);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    layout->addWidget(progress_);

    auto* row = new QHBoxLayout;
    auto addButton = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        row->addWidget(b);
        buttons_ << b;
        return b;
    };
    connect(addButton(QStringLiteral("&Compare File..."), "CompareButton"), &QPushButton::clicked,
            this, &frmCompare::chooseAndCompare);
    connect(addButton(QStringLiteral("&Write Ticked"), "WriteButton"), &QPushButton::clicked, this,
            [this] { model_.writeTicked(); });
    connect(addButton(QStringLiteral("&Save List..."), "SaveButton"), &QPushButton::clicked, this,
            &frmCompare::saveList);
    row->addStretch();
    connect(addButton(QStringLiteral("C&lose"), "CloseButton"), &QPushButton::clicked, this,
            &QWidget::close);
    layout->addLayout(row);
    resize(560, 420);
}

void frmCompare::open() {
    show();
    raise();
    activateWindow();
}

void frmCompare::retitle(const QString& caption) { setWindowTitle(kTitle + caption); }

void frmCompare::setMessage(const QString& text) { message_(text); }

void frmCompare::setProgress(int percent) { progress_->setValue(percent); }

void frmCompare::setBusy(bool busy) {
    busy_ = busy;
    for (QPushButton* b : buttons_) b->setEnabled(!busy);
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool frmCompare::confirm(const QString& question) {
    return QMessageBox::question(this, kTitle, question) == QMessageBox::Yes;
}

void frmCompare::chooseAndCompare() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Compare Register File"), {},
        QStringLiteral("Text Files (*.TXT *.txt);;All Files (*)"));
    if (!path.isEmpty()) model_.compare(path);
}

void frmCompare::saveList() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save Differences"), {}, QStringLiteral("CSV Files (*.csv);;All Files (*)"));
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(model_.csv()) < 0 || !file.flush())
        message_(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + file.errorString());
    else
        message_(QStringLiteral("Differences saved to ") + path + QStringLiteral("."));
}

// The window stays while the controller is being read; its buttons are off meanwhile.
void frmCompare::closeEvent(QCloseEvent* event) {
    if (busy_)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

}  // namespace zel
