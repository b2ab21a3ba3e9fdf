#include "app/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <exception>

#include "app/frm_about.h"
#include "resources/frm_analog.h"
#include "resources/frm_digital.h"
#include "resources/frm_flag.h"
#include "resources/frm_reg.h"
#include "windows/frm_rtc.h"
#include "resources/frm_servo.h"
#include "setup/frm_setup.h"
#include "windows/frm_status.h"
#include "common/symbol_lookup.h"
#include "app/main_window_model.h"
#include "app/monitoring_control.h"
#include "common/open_document.h"
#include "app/product_info.h"
#include "app/resource_args.h"
#include "app/window_buttons.h"

namespace zel {
namespace {


const QString kNotYet = QStringLiteral("Not available in this version of ZEL Monitor.");

void markNotYet(QWidget* w) {
    w->setEnabled(false);
    w->setToolTip(kNotYet);
}

QAction* notYetAction(QMenu* menu, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setEnabled(false);
    a->setToolTip(kNotYet);
    return a;
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
    wireWindowButtons();
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
    const WindowButton* buttons = windowButtons(count);
    for (int i = 0; i < count; ++i) {
        QPushButton* b = addButton(buttons[i].name, QString::fromLatin1(buttons[i].caption));
        markNotYet(b);
        grid->addWidget(b, i / 3, i % 3);
    }
    layout->addLayout(grid);
    auto* run = new QHBoxLayout;
    SuspendButton = addButton("SuspendButton", kSuspendCaption);
    StartButton = addButton("StartButton", QStringLiteral("Start"));
    StopButton = addButton("StopButton", QStringLiteral("Stop"));
    ResetButton = addButton("ResetButton", QStringLiteral("Reset"));
    for (QPushButton* b : {SuspendButton, StartButton, StopButton, ResetButton}) run->addWidget(b);
    showSuspendButton(kSuspendCaption, false);
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
    notYetAction(file, QStringLiteral("Open &Register File..."));
    notYetAction(file, QStringLiteral("&Upload Register File"));
    notYetAction(file, QStringLiteral("&Download Register File"));
    notYetAction(file, QStringLiteral("&Program Transfer (Tavrel Based)"));
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

    QMenu* configuration = menuBar()->addMenu(QStringLiteral("&Configuration"));
    configuration->addAction(QStringLiteral("Change &Configuration"), this, &frmMain::openSetup);
    configuration->addSeparator();
    notYetAction(configuration, QStringLiteral("Change &DDE Setup"));
    notYetAction(configuration, QStringLiteral("&Update Firmware"));

    menuBar()->addAction(QStringLiteral("Set Real Time Clock"), this, &frmMain::openClock);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&ZEL Monitor Help Topics"), this, &frmMain::openManual);
    help->addAction(QStringLiteral("&About ZEL Monitor"), this, &frmMain::showAbout);
    for (QMenu* m : {file, configuration, help}) m->setToolTipsVisible(true);
}

void frmMain::openManual() {
    OpenDocument(QDir(QApplication::applicationDirPath()).filePath(kManualFile));
}

// Child windows are made when first shown and live until shutdown; each joins the polling
// tick as it is made.
void frmMain::wireWindowButtons() {
    enableWindowButton("StatButton", [this] { openStepStatus(); });
    wireResourceButtons();
}

frmStatus* frmMain::stepStatus() {
    if (status_) return status_;
    status_ = new frmStatus(model_->state(), model_->settingsStore(), messageSink(), this);
    if (auto* symbols = model_->symbols()) {
        status_->setStepNameLookup([symbols](int32_t step) {
            return symbols->lookup().name(SymbolCode::Step, step);
        });
    }
    children_[static_cast<size_t>(ChildSlot::Status)] = status_;
    model_->polling().addBlock(status_->pollBlock());
    return status_;
}

frmRTC* frmMain::clock() {
    if (clock_) return clock_;
    clock_ = new frmRTC(model_->state(), this);
    children_[static_cast<size_t>(ChildSlot::Rtc)] = clock_;
    model_->polling().addBlock(clock_->pollBlock());
    return clock_;
}

std::function<void(const QString&)> frmMain::messageSink() {
    return [this](const QString& text) { model_->setMessage(text); };
}

// The paged resource windows, each behind its button and in its place in the tick.
void frmMain::wireResourceButtons() {
    auto lazily = [this](ChildSlot slot, const char* button, auto make) {
        enableWindowButton(button, [this, slot, make] {
            auto& child = children_[static_cast<size_t>(slot)];
            if (!child) {
                PagedForm* form = make(ResourceArgs{*model_, messageSink(), this});
                child = form;
                model_->polling().addBlock(form->pollBlock());
            }
            static_cast<PagedForm*>(child.data())->open();
        });
    };
    lazily(ChildSlot::Reg, "RegisterButton", [](ResourceArgs a) { return a.make<frmReg>(); });
    lazily(ChildSlot::Ram, "NVRamButton", [](ResourceArgs a) { return a.make<frmRam>(); });
    lazily(ChildSlot::Flag, "FlagButton", [](ResourceArgs a) { return a.make<frmFlag>(); });
    lazily(ChildSlot::DigIn, "InputButton", [](ResourceArgs a) { return a.make<frmDigIn>(); });
    lazily(ChildSlot::DigOut, "OutputButton", [](ResourceArgs a) { return a.make<frmDigOut>(); });
    lazily(ChildSlot::AnalIn, "AinButton", [](ResourceArgs a) { return a.make<frmAnalIn>(); });
    lazily(ChildSlot::AnalOut, "AoutButton", [](ResourceArgs a) { return a.make<frmAnalOut>(); });
    enableWindowButton("ServoButton", [this] { openServos(); });
}

void frmMain::openServos() {
    ResourceArgs args{*model_, messageSink(), this};
    if (!servo_) {
        servo_ = args.make<frmServo>();
        children_[static_cast<size_t>(ChildSlot::Servo)] = servo_;
        model_->polling().addBlock(servo_->pollBlock());
    }
    // Servos 17-32 get their window only from a controller that has them.
    if (needsSecondServoWindow(model_->state().connection.Counts.ServoCount())) {
        if (!servo2_) {
            servo2_ = new frmServo2(args.model.state(), args.model.library(),
                                    args.model.settingsStore(), args.symbols(), args.setMessage,
                                    *servo_, this);
            children_[static_cast<size_t>(ChildSlot::Servo2)] = servo2_;
        }
        servo2_->open();
    }
    servo_->open();
}

void frmMain::enableWindowButton(const char* name, std::function<void()> open) {
    auto* button = findChild<QPushButton*>(QString::fromLatin1(name));
    button->setEnabled(true);
    button->setToolTip({});
    connect(button, &QPushButton::clicked, this, [this, name, open = std::move(open)] {
        model_->openChildWindow(QString::fromLatin1(name), open);
    });
}

void frmMain::openStepStatus() {
    stepStatus()->open();
    status_->setWindowTitle(stepStatusTitle(model_->state().settings.ControllerIP));
}

void frmMain::openClock() { clock()->open(pos()); }

void frmMain::setChildTitle(ChildWindow window, const QString& title) {
    static const std::pair<ChildWindow, ChildSlot> kResourceSlots[] = {
        {ChildWindow::Reg, ChildSlot::Reg},         {ChildWindow::Ram, ChildSlot::Ram},
        {ChildWindow::Flag, ChildSlot::Flag},       {ChildWindow::DigIn, ChildSlot::DigIn},
        {ChildWindow::DigOut, ChildSlot::DigOut},   {ChildWindow::AnalIn, ChildSlot::AnalIn},
        {ChildWindow::AnalOut, ChildSlot::AnalOut}, {ChildWindow::Servo, ChildSlot::Servo},
    };
    if (window == ChildWindow::Status && status_ && status_->isVisible())
        status_->setWindowTitle(title);
    // Resource windows compose their own titles (the servo windows add their range).
    const QString& caption = model_->state().connection.ConnectionCaption;
    for (const auto& [w, slot] : kResourceSlots) {
        if (w != window || !child(slot)) continue;
        static_cast<ResourceForm*>(child(slot))->retitle(caption);
        if (slot == ChildSlot::Servo && servo2_) servo2_->retitle(caption);
    }
}

void frmMain::openSetup() {
    setBusy(true);
    model_->state().flags.SetupOpen = true;
    processEvents();
    auto& slot = children_[static_cast<size_t>(ChildSlot::Setup)];
    if (!slot) slot = new frmSetup(model_->state(), model_->library(), *model_, this);
    auto* setup = static_cast<frmSetup*>(slot.data());
    setup->show();
    setup->loadCurrentValues();
    setBusy(false);
    setup->activateWindow();
}

// Each child window saves its own settings as it closes.
void frmMain::closeChildWindows() {
    for (const QPointer<QWidget>& child : children_)
        if (child && child->isVisible()) child->close();
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
}

void frmMain::processEvents() { QApplication::processEvents(); }

void frmMain::pause(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

void frmMain::showPlainMessage(const QString& text) {
    QMessageBox::information(this, QApplication::applicationName(), text);
}

void frmMain::showWarning(const QString& text) {
    QMessageBox::warning(this, QApplication::applicationName(), text);
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

void frmMain::showSuspendButton(const QString& caption, bool suspended) {
    SuspendButton->setText(caption);
    QPalette palette = SuspendButton->palette();
    palette.setColor(QPalette::ButtonText, suspended ? QColor(0, 128, 0) : QColor(255, 0, 0));
    SuspendButton->setPalette(palette);
}

void frmMain::enableRunButtons(bool enabled) {
    for (QPushButton* b : {StartButton, StopButton, ResetButton}) b->setEnabled(enabled);
}

double frmMain::dpi() const { return logicalDpiY() > 0 ? logicalDpiY() : 96.0; }

void frmMain::setPlacement(const settings::WindowPlacement& twips) {
    setGeometry(placed_.place(twips, dpi()));
}

settings::WindowPlacement frmMain::placement() const {
    return placed_.placementOf(geometry(), dpi());
}

settings::DisplayState frmMain::displayState() const {
    if (isMinimized()) return settings::DisplayState::Minimized;
    if (isMaximized()) return settings::DisplayState::Maximized;
    return settings::DisplayState::Normal;
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
