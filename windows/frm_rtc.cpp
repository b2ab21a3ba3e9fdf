#include "windows/frm_rtc.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/widget_placement.h"

namespace zel {
namespace {

QLabel* caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

}  // namespace

frmRTC::frmRTC(AppState& state, QWidget* parent, ClockWindowModel::Clock now)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmRTC"));
    setWindowTitle(QStringLiteral("Controller Real Time Clock"));
    buildPanel();
    model_ = std::make_unique<ClockWindowModel>(
        state, [this](const ClockWindowModel::Display& d) { showClock(d); }, std::move(now));
    connect(cmdUpdate, &QPushButton::clicked, this, [this] { model_->requestSync(); });
}

frmRTC::~frmRTC() = default;

QLineEdit* frmRTC::addField(const char* name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setMaximumWidth(48);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

void frmRTC::buildPanel() {
    auto* SSPanel1 = new QFrame(this);
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* grid = new QGridLayout(SSPanel1);
    txtHr = addField("txtHr");
    txtMin = addField("txtMin");
    txtSec = addField("txtSec");
    txtMo = addField("txtMo");
    txtDay = addField("txtDay");
    txtYr = addField("txtYr");
    txtDow = addField("txtDow");
    cmdUpdate = new QPushButton(QStringLiteral("Sync. with System Clock"), SSPanel1);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    lblSysClock = new QLabel(QStringLiteral("RTC"), SSPanel1);
    lblSysClock->setObjectName(QStringLiteral("lblSysClock"));
    grid->addWidget(caption(QStringLiteral("Current Settings:"), SSPanel1), 0, 0, 1, 4);
    grid->addWidget(caption(QStringLiteral("Time:"), SSPanel1), 1, 0);
    for (int i = 0; QLineEdit * f : {txtHr, txtMin, txtSec}) grid->addWidget(f, 1, 1 + i++);
    grid->addWidget(caption(QStringLiteral("Date:"), SSPanel1), 2, 0);
    for (int i = 0; QLineEdit * f : {txtMo, txtDay, txtYr}) grid->addWidget(f, 2, 1 + i++);
    grid->addWidget(caption(QStringLiteral("Day of Week:"), SSPanel1), 3, 0);
    grid->addWidget(txtDow, 3, 1);
    grid->addWidget(cmdUpdate, 4, 0, 1, 4);
    grid->addWidget(caption(QStringLiteral("System Clock:"), SSPanel1), 5, 0);
    grid->addWidget(lblSysClock, 5, 1, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSPanel1);
}

void frmRTC::open(const QPoint& mainTopLeft) {
    if (!isVisible()) {
        const double dpi = settings::windowDpi(*this);
        move(clockWindowPosition(mainTopLeft, dpi));
    }
    model_->load();
    show();
    raise();
}

PollBlock& frmRTC::pollBlock() {
    return *model_;
}

void frmRTC::closeEvent(QCloseEvent* event) {
    model_->unload();
    event->accept();
}

// Fields arrive in register order: seconds, minutes, hours, day, month, year, day of week.
void frmRTC::showClock(const ClockWindowModel::Display& display) {
    const std::array<QLineEdit*, kClockFields> boxes = {txtSec, txtMin, txtHr, txtDay,
                                                        txtMo,  txtYr,  txtDow};
    for (size_t i = 0; i < boxes.size(); ++i) boxes[i]->setText(display.fields[i]);
    lblSysClock->setText(display.systemClock);
}

}  // namespace zel
