#include "windows/frm_custom.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalBlocker>

#include "resources/paged_form.h"

namespace zel {
namespace {

constexpr char kRowProperty[] = "row";
constexpr char kNumberBoxProperty[] = "numberBox";

QAction* addItem(QMenu* menu, const char* name, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

frmCustom::frmCustom(CustomScreen screen, AppState& state, ZelLibrary& library,
                     settings::SettingsStore& store, SymbolLookup* symbols,
                     MessageSink setMessage, CustomScreenFiles* files, QWidget* parent)
    : ResourceForm(state, library, store, symbols, std::move(setMessage),
                   QString::fromLatin1(customScreenTwin(screen).title), parent) {
    model_ = std::make_unique<CustomScreenModel>(screen, services(), files);
    setObjectName(screen == CustomScreen::First ? QStringLiteral("frmCustom1")
                                                : QStringLiteral("frmCustom2"));
    setWindowTitle(QString::fromLatin1(model_->twin().caption));
    buildMenus();
    buildRows();
    model_->setView(this);
}

frmCustom::~frmCustom() = default;

void frmCustom::buildMenus() {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File"));
    connect(addItem(file, "Filemenu_1", QStringLiteral("&New")), &QAction::triggered, this,
            [this] { model_->fileNew(); });
    QAction* open = addItem(file, "Filemenu_2", QStringLiteral("&Open ..."));
    file->addSeparator();
    QAction* save = addItem(file, "Filemenu_4", QStringLiteral("Sa&ve"));
    QAction* saveAs = addItem(file, "Filemenu_5", QStringLiteral("Sav&e As ..."));
    file->addSeparator();
    connect(addItem(file, "Filemenu_7", QStringLiteral("E&xit")), &QAction::triggered, this,
            &QWidget::close);
    connect(open, &QAction::triggered, this, [this] { model_->fileOpen(); });
    connect(save, &QAction::triggered, this, [this] { model_->fileSave(); });
    connect(saveAs, &QAction::triggered, this, [this] { model_->fileSaveAs(); });
    for (QAction* needsFiles : {open, save, saveAs}) {
        needsFiles->setEnabled(model_->filesAvailable());
        if (!model_->filesAvailable())
            needsFiles->setToolTip(
                QStringLiteral("Not available in this version of ZEL Monitor."));
    }
    file->setToolTipsVisible(true);

    QMenu* display = bar->addMenu(QStringLiteral("&Display"));
    display->setObjectName(QStringLiteral("Display"));
    displayLabels_ = addItem(display, "DisplayMenu_1", QStringLiteral("Display &Labels"));
    displayResources_ = addItem(display, "DisplayMenu_2", QStringLiteral("Display &Resources"));
    displayLabels_->setCheckable(true);
    displayResources_->setCheckable(true);
    connect(displayLabels_, &QAction::triggered, this, [this] { model_->displayLabels(); });
    connect(displayResources_, &QAction::triggered, this,
            [this] { model_->displayResources(); });
}

void frmCustom::buildRows() {
    auto* grid = new QGridLayout(this);
    grid->setMenuBar(findChild<QMenuBar*>());
    for (int r = 0; r < CustomScreenModel::RowCount; ++r) {
        Combo1[r] = new QComboBox(this);
        Combo1[r]->setObjectName(controlName("Combo1", r));
        connect(Combo1[r], &QComboBox::activated, this,
                [this, r](int kind) { model_->kindChosen(r, static_cast<int16_t>(kind)); });
        Text1[r] = newTextBox(controlName("Text1", r));
        Text1[r]->setMaximumWidth(80);
        Text1[r]->setProperty(kNumberBoxProperty, r);
        Text1[r]->installEventFilter(this);
        connect(Text1[r], &QLineEdit::textEdited, this,
                [this, r](const QString& text) { model_->setNumberText(r, text); });
        Label1[r] = newLabel(controlName("Label1", r));
        Label1[r]->setMinimumWidth(160);
        Text2[r] = newTextBox(controlName("Text2", r));
        Text2[r]->setProperty(kRowProperty, r);
        Text2[r]->installEventFilter(this);
        connect(Text2[r], &QLineEdit::textEdited, this,
                [this, r](const QString& text) { model_->setValueText(r, text); });
        grid->addWidget(Combo1[r], r, 0);
        grid->addWidget(Text1[r], r, 1);
        grid->addWidget(Label1[r], r, 2);
        grid->addWidget(Text2[r], r, 3);
        addRowTrendAction({Text1[r], Label1[r], Text2[r]},
                          [this, r] { return model_->trendItem(r); });
    }
}

void frmCustom::open() {
    showLoaded(model_->open());
}

void frmCustom::retitle(const QString& connectionCaption) {
    if (model_->isLoaded()) ResourceForm::retitle(connectionCaption);
}

void frmCustom::draw() {
    for (int r = 0; r < CustomScreenModel::RowCount; ++r) drawRow(r);
    displayLabels_->setChecked(!model_->resourceMode());
    displayResources_->setChecked(model_->resourceMode());
}

void frmCustom::drawRow(int r) {
    const bool resources = model_->resourceMode();
    QComboBox* combo = Combo1[r];
    {
        const QSignalBlocker blocker(combo);
        if (combo->count() != model_->kindList().size()) {
            combo->clear();
            combo->addItems(model_->kindList());
        }
        combo->setCurrentIndex(model_->row(r).kind);
    }
    showText(Text1[r], model_->numberText(r));
    showText(Label1[r], model_->row(r).label);
    showText(Text2[r], model_->valueText(r));
    combo->setVisible(resources);
    Text1[r]->setVisible(resources);
    Label1[r]->setVisible(!resources);
}

void frmCustom::messageBox(const QString& text, BoxIcon icon) {
    if (dialogs_) return dialogs_->messageBox(text, icon);
    QMessageBox box(icon == BoxIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QCoreApplication::applicationName(), text, QMessageBox::Ok, this);
    box.exec();
}

bool frmCustom::askYesNo(const QString& text) {
    if (dialogs_) return dialogs_->askYesNo(text);
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

QString frmCustom::chooseFile(FileDialogKind kind, const QString& start) {
    if (dialogs_) return dialogs_->chooseFile(kind, start);
    QFileDialog CMDialog1(this, QString(), start);
    CMDialog1.setObjectName(QStringLiteral("CMDialog1"));
    CMDialog1.setDefaultSuffix(QStringLiteral("CFG"));
    CMDialog1.setNameFilters(
        {QStringLiteral("Config Files(*.CFG)"), QStringLiteral("All Files(*.*)")});
    const bool save = kind == FileDialogKind::Save;
    CMDialog1.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    CMDialog1.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (CMDialog1.exec() != QDialog::Accepted || CMDialog1.selectedFiles().isEmpty()) return {};
    return CMDialog1.selectedFiles().constFirst();
}

bool frmCustom::eventFilter(QObject* watched, QEvent* event) {
    const QVariant number = watched->property(kNumberBoxProperty);
    if (number.isValid()) return numberBoxEvent(number.toInt(), event);
    const QVariant value = watched->property(kRowProperty);
    if (value.isValid()) return valueBoxEvent(value.toInt(), event);
    return false;
}

bool frmCustom::numberBoxEvent(int r, QEvent* event) {
    if (leavesBox(*event)) model_->numberFocusLost(r);
    if (event->type() != QEvent::KeyPress) return false;
    const std::optional<QChar> key = typedKey(static_cast<const QKeyEvent&>(*event));
    return key && !model_->numberKey(r, *key);
}

bool frmCustom::valueBoxEvent(int r, QEvent* event) {
    return forwardValueBoxEvent(*model_, r, event);
}

void frmCustom::closeEvent(QCloseEvent* event) {
    model_->unload(displayState(), placementTwips());
    event->accept();
}

}  // namespace zel
