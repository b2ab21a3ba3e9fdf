#include "app/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <vector>

#include "app/frm_about.h"
#include "app/main_window_model.h"
#include "app/monitoring_control.h"
#include "app/product_info.h"
#include "app/register_file_menu.h"
#include "common/open_document.h"
#include "common/text_colours.h"
#include "datatable/frm_table.h"
#include "dde/dbus_service.h"
#include "dde/dde_commands.h"
#include "settings/widget_placement.h"
#include "transfer/frm_files.h"

namespace zel {
namespace {

const QString kNotYet = QStringLiteral("Not available in this version of ZEL Monitor.");

// A button or menu entry of a window or a command this version does not have.
template <typename Control>
void markNotYet(Control* control) {
    control->setEnabled(false);
    control->setToolTip(kNotYet);
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kMainTitle);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer3.setObjectName(QStringLiteral("Timer3"));
    Timer2.setInterval(100);
    Timer3.setInterval(500);
    buildButtons();
    buildMenus();
}

frmMain::~frmMain() = default;

void frmMain::attach(MainWindowModel& model) {
    model_ = &model;
    connect(&Timer1, &QTimer::timeout, this, [this] { model_->pollingTick(); });
    connect(&Timer2, &QTimer::timeout, this, [this] { model_->monitoring().reconnectTick(); });
    connect(&Timer3, &QTimer::timeout, this, [this] { model_->startTimerTick(); });
    connect(SuspendButton, &QPushButton::clicked, this, [this] { model_->monitoring().toggle(); });
    connect(StartButton, &QPushButton::clicked, this, [this] { model_->runControl().start(); });
    connect(StopButton, &QPushButton::clicked, this, [this] { model_->runControl().stop(); });
    connect(ResetButton, &QPushButton::clicked, this, [this] { model_->runControl().reset(); });
}

QPushButton* frmMain::addButton(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setMinimumHeight(34);
    return b;
}

void frmMain::buildButtons() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* grid = new QGridLayout;
    int count = 0;
    for (const WindowEntry& entry : windowList()) {
        if (entry.opener != Opener::Button) continue;
        QPushButton* b = addButton(entry.control, QString::fromLatin1(entry.caption));
        if (entry.make)
            connect(b, &QPushButton::clicked, this, [this, &entry] { openAsking(entry); });
        else
            markNotYet(b);
        grid->addWidget(b, count / 3, count % 3);
        ++count;
    }
    layout->addLayout(grid);
    auto* run = new QHBoxLayout;
    SuspendButton = addButton("SuspendButton", kSuspendCaption);
    StartButton = addButton("StartButton", QStringLiteral("Start"));
    StopButton = addButton("StopButton", QStringLiteral("Stop"));
    ResetButton = addButton("ResetButton", QStringLiteral("Reset"));
    for (QPushButton* b : {SuspendButton, StartButton, StopButton, ResetButton}) run->addWidget(b);
    showSuspendButton(kSuspendCaption, StateColour::Red);
    layout->addLayout(run);
    layout->addStretch();
    Message = new QLabel(QStringLiteral("System Status"), central);
    Message->setObjectName(QStringLiteral("Message"));
    Message->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Message->setWordWrap(true);
    Message->setMinimumHeight(48);
    layout->addWidget(Message);
    setCentralWidget(central);
}

void frmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Open &Symbol File..."), this, [this] {
        if (model_->symbols()) model_->symbols()->OpenSymbolFile();
    });
    file->addSeparator();
    file->addAction(QStringLiteral("Open &Register File..."), this, &frmMain::openRegisterFile);
    file->addAction(QStringLiteral("&Upload Register File"), this,
                    [this] { registerFiles().upload(); });
    file->addAction(QStringLiteral("&Download Register File"), this,
                    [this] { registerFiles().download(); });
    addWindowEntries(file, Opener::FileMenu);
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

    QMenu* configuration = menuBar()->addMenu(QStringLiteral("&Configuration"));
    addWindowEntries(configuration, Opener::ConfigurationMenu);
    addWindowEntries(nullptr, Opener::MenuBar);

    QMenu* trends = menuBar()->addMenu(QStringLiteral("&Trends"));
    trends->setObjectName(QStringLiteral("mnuTrends"));
    addWindowEntries(trends, Opener::TrendsMenu);
    QAction* start = trends->addAction(QStringLiteral("Start &Logging..."), this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Start Logging"), {}, QStringLiteral("CSV Files (*.csv)"));
        if (!path.isEmpty()) model_->trendBlock().startLogging(path);
    });
    QAction* stop = trends->addAction(QStringLiteral("Sto&p Logging"), this,
                                      [this] { model_->stopLogging(); });
    QAction* clear = trends->addAction(QStringLiteral("&Clear Trends"), this,
                                       [this] { model_->clearTrends(); });
    start->setObjectName(QStringLiteral("mnuStartLogging"));
    stop->setObjectName(QStringLiteral("mnuStopLogging"));
    clear->setObjectName(QStringLiteral("mnuClearTrends"));
    connect(trends, &QMenu::aboutToShow, this, [this, start, stop, clear] {
        const MainWindowModel::TrendCommands can = model_->trendCommands();
        start->setEnabled(can.startLogging);
        stop->setEnabled(can.stopLogging);
        clear->setEnabled(can.clear);
    });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&ZEL Monitor Help Topics"), this, &frmMain::openManual);
    help->addAction(QStringLiteral("&About ZEL Monitor"), this, &frmMain::showAbout);
    for (QMenu* m : {file, configuration, trends, help}) m->setToolTipsVisible(true);
}

// A register value file opens in the desktop's text editor; without a desktop to hand it to,
// the user is told which file could not be opened and why.
void frmMain::openRegisterFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open Register File"), {},
        QStringLiteral("Text Files (*.TXT *.txt);;All Files (*)"));
    if (path.isEmpty()) return;
    if (!OpenDocument(path))
        showWarning(QStringLiteral("Cannot open ") + path +
                    QStringLiteral(" in a text editor: the desktop's opener (xdg-open) is missing "
                                   "or has no program for it."));
}

RegisterFileMenu& frmMain::registerFiles() {
    if (!registerFiles_) registerFiles_ = std::make_unique<RegisterFileMenu>(*model_, *this, this);
    return *registerFiles_;
}

void frmMain::openManual() {
    OpenDocument(manualPath(QApplication::applicationDirPath()));
}

// Each entry of `opener` in the list becomes an entry of `menu`, or of the menu bar itself.
void frmMain::addWindowEntries(QMenu* menu, Opener opener) {
    for (const WindowEntry& entry : windowList()) {
        if (entry.opener != opener) continue;
        const QString text = QString::fromLatin1(entry.caption);
        if (menu && entry.separatorBefore) menu->addSeparator();
        QAction* action = menu ? menu->addAction(text) : menuBar()->addAction(text);
        action->setObjectName(QString::fromLatin1(entry.control));
        if (!entry.make)
            markNotYet(action);
        else if (*entry.loading)
            connect(action, &QAction::triggered, this, [this, &entry] { openAsking(entry); });
        else
            connect(action, &QAction::triggered, this, [this, &entry] { window(entry.id)->open(); });
    }
}

ChildWindow* frmMain::window(WindowId id) {
    std::unique_ptr<ChildWindow>& made = windows_[id];
    if (!made) {
        const WindowEntry& entry = windowEntry(id);
        WindowContext context{*model_, this, [this](WindowId other) { return window(other); }};
        made.reset(entry.make(context));
        if (PollBlock* block = made->pollBlock(); block && entry.tickPlace > 0)
            model_->polling().addBlock(*block, entry.tickPlace);
    }
    return made.get();
}

void frmMain::openCustomScreenFile(const QString& path) {
    model_->state().files.CustomScreen1File = path;
    window(WindowId::Custom1)->open();
}

void frmMain::openTableFile(const QString& path) {
    ChildWindow* table = window(WindowId::DataTable);
    table->open();
    static_cast<FormWindow<frmTable>*>(table)->form()->model().openFile(path);
}

void frmMain::openAsking(const WindowEntry& entry) {
    model_->openChildWindow(QString::fromLatin1(entry.loading), QString::fromLatin1(entry.loaded),
                            [this, &entry] { window(entry.id)->open(); });
}

void frmMain::connectionCaptionChanged(const QString& caption) {
    for (const auto& [id, made] : windows_) made->captionChanged(caption);
}

// Each child window saves its own settings as it closes.
void frmMain::closeChildWindows() {
    std::vector<const WindowEntry*> order;
    for (const WindowEntry& entry : windowList()) order.push_back(&entry);
    std::sort(order.begin(), order.end(), [](const WindowEntry* a, const WindowEntry* b) {
        return a->closeOrder < b->closeOrder;
    });
    for (const WindowEntry* entry : order)
        if (auto made = windows_.find(entry->id); made != windows_.end())
            made->second->closeIfShown();
}

void frmMain::showAbout() {
    frmAbout about(this);
    about.exec();
}

void frmMain::setStatus(const QString& text) { Message->setText(text); }

void frmMain::refreshMessage() { Message->repaint(); }

void frmMain::prepareToShow() {
    QImage frame(size() * devicePixelRatio(), QImage::Format_RGB32);
    frame.setDevicePixelRatio(devicePixelRatio());
    render(&frame);
    if (DdeWindow* dde = madeDdeWindow()) dde->makeForm();
}

void frmMain::processEvents() { QApplication::processEvents(); }

void frmMain::pause(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

void frmMain::showPlainMessage(const QString& text) {
    QMessageBox::information(this, QApplication::applicationName(), text);
}

void frmMain::showWarning(const QString& text) {
    QMessageBox::warning(this, QApplication::applicationName(), text);
}

void frmMain::chooseStartupFiles(StartupFiles& choice) {
    frmFiles dialog(choice, this);
    dialog.exec();
}

bool frmMain::askOkCancel(const QString& text) {
    return QMessageBox::question(this, QApplication::applicationName(), text,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void frmMain::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool frmMain::askYesNo(const QString& text) {
    return QMessageBox::question(this, QApplication::applicationName(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void frmMain::enableReconnectTimer(bool enabled) {
    if (enabled)
        Timer2.start();
    else
        Timer2.stop();
}

void frmMain::showSuspendButton(const QString& caption, StateColour colour) {
    SuspendButton->setText(caption);
    showStateColour(*SuspendButton, colour);
}

void frmMain::enableRunButtons(bool enabled) {
    for (QPushButton* b : {StartButton, StopButton, ResetButton}) b->setEnabled(enabled);
}

// The DDE window shows the connection and suspend texts and the setup dialog's node. It is
// made during the main window's load; texts before that are taken by its own load.
void frmMain::setDdeMessage(const QString& text) {
    if (DdeWindow* dde = madeDdeWindow()) dde->model().showMessage(text);
}

void frmMain::setDdeNode(const QString& text) {
    if (DdeWindow* dde = madeDdeWindow()) dde->model().setNode(text);
}

DdeWindow* frmMain::madeDdeWindow() const {
    const auto made = windows_.find(WindowId::DdeSetup);
    return made == windows_.end() ? nullptr : static_cast<DdeWindow*>(made->second.get());
}

// The DDE window and, beside it, its topics on the session bus, so that the exchange runs and
// other programs are answered from the load on.
void frmMain::loadDdeWindow() {
    auto* dde = static_cast<DdeWindow*>(window(WindowId::DdeSetup));
    bus_ = std::make_unique<DdeBusService>(QDBusConnection::sessionBus(), dde->model(), this);
}

bool frmMain::executeCommand(const QString& command) {
    const MainCommandCheck check = checkMainCommand(command, this);
    if (check.outcome != MainCommandCheck::Outcome::Ready) return false;
    click(check.control);
    return true;
}

MainControls::State frmMain::controlState(const QString& control) const {
    if (const auto* button = centralWidget()->findChild<QPushButton*>(control))
        return button->isEnabled() ? State::Ready : State::Disabled;
    if (const auto* action = menuBar()->findChild<QAction*>(control))
        return action->isEnabled() ? State::Ready : State::Disabled;
    return State::Missing;
}

void frmMain::click(const QString& control) {
    if (auto* button = centralWidget()->findChild<QPushButton*>(control))
        button->click();
    else if (auto* action = menuBar()->findChild<QAction*>(control))
        action->trigger();
}

double frmMain::dpi() const { return settings::windowDpi(*this); }

void frmMain::setPlacement(const settings::WindowPlacement& twips) {
    setGeometry(placed_.place(twips, dpi()));
}

settings::WindowPlacement frmMain::placement() const {
    return placed_.placementOf(geometry(), dpi());
}

settings::DisplayState frmMain::displayState() const {
    return settings::displayStateOf(*this);
}

void frmMain::enablePollingTimer(bool enabled) {
    if (enabled)
        Timer1.start();
    else
        Timer1.stop();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!closing_ && model_) {
        closing_ = true;
        try {
            // Children first: the setup dialog restarts the timers as it unloads.
            closeChildWindows();
            Timer1.stop();
            Timer2.stop();
            Timer3.stop();
            model_->shutdown();
        } catch (const std::exception&) {
            showPlainMessage(QStringLiteral("Error CLOSING ZEL Monitor !!!"));
        }
    }
    event->accept();
}

}  // namespace zel
