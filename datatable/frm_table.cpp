#include "datatable/frm_table.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "common/form_keys.h"
#include "common/key_codes.h"
#include "datatable/row_text.h"
#include "settings/widget_placement.h"
#include "settings/window_placement.h"
#include "trends/trend_action.h"

namespace zel {
namespace {

// While a cell is edited only digits and Backspace get in; keys that type nothing (arrows,
// Tab, Escape) and Enter keep their meaning.
class CellKeyFilter final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor->installEventFilter(const_cast<CellKeyFilter*>(this));
        return editor;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const std::optional<QChar> typed = typedKey(static_cast<const QKeyEvent&>(*event));
            if (typed && *typed != QChar(kEnterKey) && !cellKeyAccepted(*typed)) return true;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }
};

const QString kTableFilter = QStringLiteral("TV Data Tables (*.tab)");

}  // namespace

frmTable::frmTable(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                   MessageSink setMessage, MessageSink showProgress, QWidget* parent)
    : QWidget(parent, Qt::Window),
      model_(state, library, store, *this, [] { QApplication::processEvents(); }),
      grid_(model_.table(), &model_.transfer()),
      setMessage_(std::move(setMessage)),
      showProgress_(std::move(showProgress)) {
    setObjectName(QStringLiteral("frmTable"));
    setWindowTitle(QStringLiteral("ZEL Data Table Utility"));
    auto* layout = new QVBoxLayout(this);
    buildMenus();

    auto* sizes = new QHBoxLayout;
    txtRows = new QLineEdit(this);
    txtCols = new QLineEdit(this);
    txtRows->setObjectName(QStringLiteral("txtRows"));
    txtCols->setObjectName(QStringLiteral("txtCols"));
    for (QLineEdit* field : {txtRows, txtCols}) {
        field->setMaximumWidth(80);
        field->installEventFilter(this);
    }
    Command1 = new QPushButton(QStringLiteral("Refresh"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelTransfer"));
    cancel_->setEnabled(false);
    sizes->addWidget(new QLabel(QStringLiteral("Rows:"), this));
    sizes->addWidget(txtRows);
    sizes->addWidget(new QLabel(QStringLiteral("Cols:"), this));
    sizes->addWidget(txtCols);
    sizes->addWidget(Command1);
    sizes->addStretch();
    sizes->addWidget(cancel_);
    layout->addLayout(sizes);

    tgDTable = new QTableView(this);
    tgDTable->setObjectName(QStringLiteral("tgDTable"));
    tgDTable->setModel(&grid_);
    tgDTable->setItemDelegate(new CellKeyFilter(tgDTable));
    // The arrow keys move between cells; Tab leaves the grid, which would otherwise keep it.
    tgDTable->setTabKeyNavigation(false);
    tgDTable->verticalHeader()->hide();
    tgDTable->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked |
                              QAbstractItemView::AnyKeyPressed);
    layout->addWidget(tgDTable);
    addTrendAction(
        tgDTable, [this] { return grid_.trendItem(tgDTable->currentIndex()); },
        [this](const TrendItem& cell) {
            if (trendSink_) trendSink_(cell);
        });
    auto* editCell = new QShortcut(QKeySequence(QStringLiteral("Ctrl+E")), tgDTable);
    connect(editCell, &QShortcut::activated, this, [this] { tgDTable->edit(tgDTable->currentIndex()); });

    connect(Command1, &QPushButton::clicked, this, &frmTable::rebuildGrid);
    connect(cancel_, &QPushButton::clicked, this, [this] { model_.cancelTransfer(); });
    connect(&Timer1, &QTimer::timeout, this, [this] {
        model_.upload();
        const DataTable& t = model_.table();
        grid_.rowsRead(t.TableMonStartRow, t.TableMonEndRow);
    });
    Timer2.setInterval(100);
    connect(&Timer2, &QTimer::timeout, this, [this] {
        rebuildGrid();
        if (++startRedraws_ == 2) Timer2.stop();
    });
}

QAction* frmTable::addCommand(QMenu* menu, const char* name, const QString& text,
                              std::function<void()> run) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
}

void frmTable::buildMenus() {
    auto* bar = new QMenuBar(this);
    menuBar_ = bar;
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addCommand(file, "mnuFileNew", QStringLiteral("&New"), [] {});
    QAction* open = addCommand(file, "mnuFileOpen", QStringLiteral("&Open"), [this] {
        endGridEdit();
        model_.fileOpen();
    });
    file->addSeparator();
    QAction* save = addCommand(file, "mnuFileSave", QStringLiteral("&Save"), [this] {
        endGridEdit();
        model_.fileSave();
    });
    addCommand(file, "mnuFileSaveAs", QStringLiteral("Save &As..."), [this] {
        endGridEdit();
        model_.fileSaveAs();
    });
    file->addSeparator();
    addCommand(file, "mnuFileUpload", QStringLiteral("&Upload"), [this] {
        model_.upload();
        rebuildGrid();
    });
    addCommand(file, "mnuFileDownload", QStringLiteral("&Download"), [this] { model_.download(); });
    file->addSeparator();
    addCommand(file, "mnuFileExit", QStringLiteral("E&xit"), [this] { close(); });

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* cutAction = addCommand(edit, "mnuEditCut", QStringLiteral("C&ut"), [this] { cut(); });
    QAction* copyAction = addCommand(edit, "mnuEditCopy", QStringLiteral("&Copy"), [this] { copy(); });
    QAction* pasteAction =
        addCommand(edit, "mnuEditPaste", QStringLiteral("&Paste"), [this] { paste(); });

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuOptions"));
    addCommand(options, "mnuOptionsFont", QStringLiteral("&Font..."), [this] { chooseFont(); });
    options->addSeparator();
    beginMonitoring_ = addCommand(options, "mnuOptionsBegin", QStringLiteral("&Begin Monitoring ..."),
                                  [this] { if (model_.beginMonitoring()) setMonitoring(true); });
    endMonitoring_ = addCommand(options, "mnuOptionsEnd", QStringLiteral("&End Monitoring ..."),
                                [this] { if (model_.endMonitoring()) setMonitoring(false); });
    for (QAction* a : {beginMonitoring_, endMonitoring_}) a->setCheckable(true);
    endMonitoring_->setChecked(true);
    addCommand(options, "mnuOptionsSetup", QStringLiteral("&Monitor Setup"), [this] {
        if (monitorSetup_) monitorSetup_();
    });

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->setToolTipsVisible(true);
    for (const QString& text : {QStringLiteral("&Contents"), QStringLiteral("&Help on Help ...")}) {
        QAction* a = help->addAction(text);
        a->setEnabled(false);
        a->setToolTip(QStringLiteral("Not available in this version of ZEL Monitor."));
    }

    auto* toolbar = new QToolBar(this);
    toolbar_ = toolbar;
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    const std::pair<QString, QAction*> keyed[] = {{QStringLiteral("Open"), open},
                                                  {QStringLiteral("Save"), save},
                                                  {QStringLiteral("Cut"), cutAction},
                                                  {QStringLiteral("Copy"), copyAction},
                                                  {QStringLiteral("Paste"), pasteAction}};
    for (const auto& [key, action] : keyed) {
        QAction* button = toolbar->addAction(key);
        button->setObjectName(QStringLiteral("Toolbar1_") + key);
        connect(button, &QAction::triggered, action, &QAction::trigger);
    }
    auto* top = static_cast<QVBoxLayout*>(layout());
    top->setMenuBar(bar);
    top->addWidget(toolbar);
}

void frmTable::open() {
    if (!loaded_) {
        const settings::RestoredPlacement restored = model_.load();
        if (restored.message) messageBox(*restored.message);
        setGeometry(placed_.place(restored.placement, dpi()));
        Timer1.setInterval(model_.table().TableMonInterval);
        showSize(0, 0);
        rebuildGrid();
        setWindowTitle(model_.loadingTitle());
        loaded_ = true;
        show();
        model_.upload();
        retitle(model_.connectionCaption());
        startRedraws_ = 0;
        Timer2.start();
    }
    show();
    raise();
}

void frmTable::retitle(const QString& connectionCaption) {
    setWindowTitle(QStringLiteral("Data Table") + connectionCaption);
}

void frmTable::messageBox(const QString& text) {
    QMessageBox::warning(this, QCoreApplication::applicationName(), text);
}

// While a transfer runs only Cancel, which stops it after its current row, takes a click.
void frmTable::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    const bool takesCommands = model_.takesCommands();
    for (QWidget* w : std::initializer_list<QWidget*>{menuBar_, toolbar_, txtRows, txtCols, Command1})
        w->setEnabled(takesCommands);
    cancel_->setEnabled(!takesCommands);
}

void frmTable::rebuildGrid() {
    grid_.rebuild();
    const double twipsPerPixel = 1440.0 / dpi();
    for (int c = 0; c < grid_.columnCount(); ++c)
        tgDTable->setColumnWidth(c, static_cast<int>(grid_.columnWidthTwips(c) / twipsPerPixel));
}

void frmTable::showSize(int32_t rows, int32_t columns) {
    txtRows->setText(QString::number(rows));
    txtCols->setText(QString::number(columns));
}

QString frmTable::chooseFile(TableFileDialog kind, const QString& start) {
    const QString extension = QStringLiteral("tab");
    if (kind == TableFileDialog::Open) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Load Data Table"), start,
                                            kTableFilter);
    }
    const QString filter =
        kind == TableFileDialog::Save ? kTableFilter : QStringLiteral("Data Tables (*.tab)");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Data Table"), start, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += u'.' + extension;
    return path;
}

// A cell editor that loses the focus hands its text to the grid, as leaving the cell does.
void frmTable::endGridEdit() {
    tgDTable->setFocus();
    sizeFieldStarted_ = false;
}

void frmTable::copy() {
    const QString text = grid_.copyText(tgDTable->selectionModel()->selectedIndexes());
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void frmTable::cut() {
    copy();
    grid_.clear(tgDTable->selectionModel()->selectedIndexes());
}

void frmTable::paste() {
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) return;
    if (const std::optional<QString> refused = grid_.paste(tgDTable->currentIndex(), text))
        messageBox(*refused);
}

void frmTable::chooseFont() {
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, tgDTable->font(), this, QStringLiteral("Data Table Font"));
    if (!ok) return;
    for (QWidget* w : std::initializer_list<QWidget*>{tgDTable, txtRows, txtCols}) w->setFont(font);
}

void frmTable::setMonitoring(bool on) {
    beginMonitoring_->setChecked(on);
    endMonitoring_->setChecked(!on);
    if (on)
        Timer1.start();
    else
        Timer1.stop();
}

// Rows: and Cols:: the first key after gaining the focus empties the field; Enter, consumed,
// or leaving it applies it.
bool frmTable::sizeFieldEvent(QLineEdit* field, QEvent* event) {
    auto apply = [this, field] {
        sizeFieldStarted_ = false;
        if (field == txtRows)
            model_.rowsEntered(field->text());
        else
            model_.colsEntered(field->text());
    };
    if (event->type() == QEvent::FocusIn) sizeFieldStarted_ = false;
    if (leavesBox(*event)) apply();
    if (event->type() != QEvent::KeyPress) return false;
    const std::optional<QChar> key = typedKey(static_cast<const QKeyEvent&>(*event));
    if (key == QChar(kEnterKey)) {
        apply();
        return true;
    }
    if (key && !sizeFieldStarted_) {
        field->clear();
        sizeFieldStarted_ = true;
    }
    return false;
}

bool frmTable::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtRows || watched == txtCols)
        return sizeFieldEvent(static_cast<QLineEdit*>(watched), event);
    return QWidget::eventFilter(watched, event);
}

void frmTable::closeEvent(QCloseEvent* event) {
    if (loaded_) {
        endGridEdit();
        Timer1.stop();
        setMonitoring(false);
        if (const std::optional<QString> failure = model_.unload(
                settings::displayStateOf(*this), placed_.placementOf(geometry(), dpi())))
            messageBox(*failure);
        loaded_ = false;
    }
    event->accept();
}

double frmTable::dpi() const { return settings::windowDpi(*this); }

}  // namespace zel
