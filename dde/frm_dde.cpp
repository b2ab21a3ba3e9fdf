#include "dde/frm_dde.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/form_keys.h"
#include "common/key_codes.h"

namespace zel {
namespace {

// "FlagValue(3)" is the control FlagValue_3.
QString controlName(const QString& item) {
    QString name = item;
    return name.replace(u'(', u'_').remove(u')');
}

QLabel* caption(const char* text, QWidget* parent) {
    return new QLabel(QString::fromLatin1(text), parent);
}

}  // namespace

frmDDE::frmDDE(DdeModel& model, const AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), state_(state) {
    setObjectName(QStringLiteral("frmDDE"));
    setWindowTitle(QStringLiteral("DDE Configuration"));
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("VideoSoftIndexTab1"));
    tabs->addTab(buildFlagPage(), QStringLiteral("&Flag Register Configuration"));
    tabs->addTab(buildBlockPage(), QStringLiteral("&Block Write Configuration"));

    auto* Message = static_cast<QLabel*>(addValue(QStringLiteral("Message"), this));
    Message->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* Command3d1 = new QPushButton(this);
    Command3d1->setObjectName(QStringLiteral("Command3d1"));
    controls_.insert(QStringLiteral("Command3d1"), Command3d1);
    auto* Command3d2 = new QPushButton(QStringLiteral("E&xit"), this);
    Command3d2->setObjectName(QStringLiteral("Command3d2"));
    connect(Command3d1, &QPushButton::clicked, this, [this] { model_.toggleExchange(); });
    connect(Command3d2, &QPushButton::clicked, this, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command3d1);
    buttons->addWidget(Command3d2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(Message);
    layout->addWidget(addValue(QStringLiteral("lblLink"), this));
    layout->addLayout(buttons);
    model_.setWindow([this] { hide(); }, [this](const DdeChanges& changes) { draw(changes); });
}

frmDDE::~frmDDE() { model_.setWindow({}, {}); }

QLineEdit* frmDDE::addBox(const QString& item, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(controlName(item));
    box->installEventFilter(this);
    controls_.insert(item, box);
    boxes_.insert(box, item);
    connect(box, &QLineEdit::textEdited, this,
            [this, item](const QString& text) { model_.textChanged(item, text); });
    return box;
}

QWidget* frmDDE::addValue(const QString& item, QWidget* parent) {
    auto* value = new QLabel(parent);
    value->setObjectName(controlName(item));
    controls_.insert(item, value);
    return value;
}

void frmDDE::addCaptioned(QGridLayout* grid, int row, const char* text, QWidget* field) {
    grid->addWidget(caption(text, field->parentWidget()), row, 0);
    grid->addWidget(field, row, 1);
}

QWidget* frmDDE::buildFlagPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    auto* flags = new QGridLayout;
    for (int row = 0; row < 4; ++row) {
        flags->addWidget(addValue(DdeItems::element("lblFlag", row), page), row, 0);
        for (int column = 0; column < 8; ++column)
            flags->addWidget(addValue(DdeItems::element("FlagValue", 8 * row + column + 1), page),
                             row, column + 1);
    }
    grid->addLayout(flags, 0, 0, 1, 2);
    auto* registers = new QGridLayout;
    for (int row = 0; row < 10; ++row) {
        registers->addWidget(addValue(DdeItems::element("lblReg", row), page), row, 0);
        for (int column = 0; column < 5; ++column)
            registers->addWidget(
                addValue(DdeItems::element("RegValue", 5 * row + column + 1), page), row,
                column + 1);
    }
    grid->addLayout(registers, 1, 0, 1, 2);
    addCaptioned(grid, 2, "Flag Write Address:", addBox(QStringLiteral("FlagAddress"), page));
    addCaptioned(grid, 3, "Flag Write Data:", addBox(QStringLiteral("FlagWrite"), page));
    addCaptioned(grid, 4, "Register Write Address:", addBox(QStringLiteral("RegAddress"), page));
    addCaptioned(grid, 5, "Register Write Data:", addBox(QStringLiteral("RegWrite"), page));
    addCaptioned(grid, 6, "Register Read Data:", addValue(QStringLiteral("RegRead"), page));
    addCaptioned(grid, 7, "50 Reg Read Address:", addBox(QStringLiteral("Reg50Address"), page));
    addCaptioned(grid, 8, "Network Node Number:", addBox(QStringLiteral("DDENode"), page));

    HScroll1 = new QScrollBar(Qt::Horizontal, page);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    // Tab reaches it, so the arrow and page keys set the interval.
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    HScroll1->setRange(kDdeIntervalFloor, kDdeIntervalCeiling);
    connect(HScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { model_.setInterval(value); });
    auto* interval = new QHBoxLayout;
    interval->addWidget(HScroll1, 1);
    interval->addWidget(addValue(QStringLiteral("DdeInterval"), page));
    grid->addWidget(caption("Update Interval (ms):", page), 9, 0);
    grid->addLayout(interval, 9, 1);
    return page;
}

QWidget* frmDDE::buildBlockPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(caption("Register Address", page), 0, 1);
    grid->addWidget(caption("Read Data", page), 0, 2);
    grid->addWidget(caption("Write Data", page), 0, 3);
    for (int i = 1; i <= kDdeFreeEntries; ++i) {
        grid->addWidget(new QLabel(QStringLiteral("%1:").arg(i), page), i, 0);
        grid->addWidget(addBox(DdeItems::element("BlockAddress", i), page), i, 1);
        grid->addWidget(addValue(DdeItems::element("BlockRead", i), page), i, 2);
        grid->addWidget(addBox(DdeItems::element("BlockWrite", i), page), i, 3);
    }
    auto* Command3d3 = new QPushButton(QStringLiteral("&Write Block Data"), page);
    Command3d3->setObjectName(QStringLiteral("Command3d3"));
    connect(Command3d3, &QPushButton::clicked, this, [this] { model_.writeBlockData(); });
    grid->addWidget(Command3d3, kDdeFreeEntries + 1, 0, 1, 4);
    return page;
}

void frmDDE::draw(const DdeChanges& changes) {
    for (const auto& [item, text] : changes) {
        QWidget* control = controls_.value(item);
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            if (box->text() != text) box->setText(text);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            button->setText(text);
        }
        if (item == QLatin1String("DdeInterval") && HScroll1) {
            const QSignalBlocker quiet(HScroll1);
            HScroll1->setValue(text.toInt());
        }
    }
}

// A key goes to the model before the box takes it; Enter stays with the model.
bool frmDDE::eventFilter(QObject* watched, QEvent* event) {
    const auto box = boxes_.constFind(watched);
    if (box != boxes_.cend()) {
        if (event->type() == QEvent::KeyPress) {
            if (const std::optional<QChar> key = typedKey(static_cast<const QKeyEvent&>(*event))) {
                const bool consumed = model_.keyPress(*box, key->unicode());
                if (*key == QChar(kEnterKey)) return consumed;
            }
        } else if (leavesBox(*event)) {
            model_.focusLost(*box);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmDDE::open() {
    const QString& address = state_.settings.ControllerIP;
    setWindowTitle(address.isEmpty() ? QStringLiteral("DDE Screen 1")
                                     : QStringLiteral("DDE Screen 1 - ") + address);
    show();
    raise();
    activateWindow();
}

void frmDDE::retitle(const QString& caption) {
    setWindowTitle(QStringLiteral("DDE Screen") + caption);
}

// Closing only hides the window; it lives until the main window goes.
void frmDDE::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

}  // namespace zel
