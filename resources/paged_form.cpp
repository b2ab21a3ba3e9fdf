#include "resources/paged_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTime>

#include "common/state_button.h"
#include "common/text_colours.h"

namespace zel {
namespace {

constexpr char kRowProperty[] = "row";

}  // namespace

PagedForm::PagedForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                     SymbolLookup* symbols, MessageSink setMessage, PagedFormLayout layout,
                     QWidget* parent)
    : ResourceForm(state, library, store, symbols, std::move(setMessage),
                   QString::fromLatin1(layout.baseTitle), parent),
      layout_(layout) {}

void PagedForm::attach(std::unique_ptr<PagedWindowModel> model) {
    model_ = std::move(model);
    auto* page = new QVBoxLayout(this);
    header_ = new QHBoxLayout;
    Label3 = newLabel(QStringLiteral("Label3"), QStringLiteral("GoTo:"));
    goto_ = newTextBox(QString::fromLatin1(layout_.gotoName));
    goto_->setMaximumWidth(80);
    header_->addWidget(Label3);
    header_->addWidget(goto_);
    header_->addStretch();
    lastInHeader_ = goto_;
    page->addLayout(header_);
    auto* body = new QHBoxLayout;
    body->addLayout(buildRows());
    body->addWidget(buildScrollBar());
    page->addLayout(body);
    goto_->installEventFilter(this);
    Label3->installEventFilter(this);
    connect(goto_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_->setGotoText(text); });
    model_->setView(this);
}

void PagedForm::addToHeader(QWidget* control) {
    header_->addWidget(control);
    if (control->focusPolicy() & Qt::TabFocus) {
        setTabOrder(lastInHeader_, control);
        lastInHeader_ = control;
    }
}

QGridLayout* PagedForm::buildRows() {
    rowGrid_ = new QGridLayout;
    for (int r = 0; r < PagedWindowModel::PageSize; ++r) {
        Label2[r] = newLabel(controlName("Label2", r));
        Label2[r]->installEventFilter(this);
        rowGrid_->addWidget(Label2[r], gridLine(r), 0);
        if (layout_.names) {
            Label1[r] = newLabel(controlName("Label1", r));
            Label1[r]->setMinimumWidth(120);
            Label1[r]->installEventFilter(this);
            rowGrid_->addWidget(Label1[r], gridLine(r), 1);
        }
        values_[r] = newValueControl(r);
        rowGrid_->addWidget(values_[r], gridLine(r), 2);
        addRowTrendAction({Label2[r], Label1[r], values_[r]},
                          [this, r] { return model_->trendItem(r); });
    }
    return rowGrid_;
}

QWidget* PagedForm::newValueControl(int r) {
    switch (layout_.valueControl) {
        case ValueControl::Button: {
            auto* button = new StateButton(this);
            button->setObjectName(controlName("SSCommand1", r));
            connect(button, &QPushButton::clicked, this, [this, r] { valueClicked(r); });
            return button;
        }
        case ValueControl::Panel: {
            QLabel* panel = newLabel(controlName("SSPanel1", r));
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            panel->setAlignment(Qt::AlignCenter);
            panel->installEventFilter(this);
            return panel;
        }
        case ValueControl::TextBox:
        case ValueControl::ReadOnlyTextBox:
            break;
    }
    QLineEdit* box = newTextBox(controlName("Text1", r));
    // Room for the widest 32-bit value, so no window cuts a value short.
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-2147483648 ")) +
                         box->textMargins().left() + box->textMargins().right() + 8);
    if (layout_.valueControl == ValueControl::ReadOnlyTextBox) {
        box->setReadOnly(true);
        return box;
    }
    box->setProperty(kRowProperty, r);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this,
            [this, r](const QString& text) { model_->setValueText(r, text); });
    return box;
}

QScrollBar* PagedForm::buildScrollBar() {
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // Tab reaches it, so the arrow and page keys scroll the rows.
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    VScroll1->setSingleStep(1);
    // The value changes when the scroll box is released; while it is dragged only sliderMoved.
    VScroll1->setTracking(false);
    connect(VScroll1, &QScrollBar::valueChanged, this,
            [this](int position) { model_->setPosition(position); });
    connect(VScroll1, &QScrollBar::sliderMoved, this, [this](int position) {
        model_->scrollDragged(position, QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
    });
    return VScroll1;
}

// "Show Traffic" joins Add to Trend in the context menu of each control of a row.
void PagedForm::setShowTrafficHandler(std::function<void(RowRegisters)> handler) {
    const bool added = static_cast<bool>(showTraffic_);
    showTraffic_ = std::move(handler);
    if (added) return;
    for (int r = 0; r < PagedWindowModel::PageSize; ++r) {
        for (QWidget* control : {static_cast<QWidget*>(Label2[r]),
                                 static_cast<QWidget*>(Label1[r]), values_[r]}) {
            if (control == nullptr) continue;
            auto* show = new QAction(QStringLiteral("&Show Traffic"), control);
            show->setObjectName(QStringLiteral("mnuShowTraffic"));
            control->addAction(show);
            connect(show, &QAction::triggered, this,
                    [this, r] { showTraffic_(model_->rowRegisters(r)); });
        }
    }
}

void PagedForm::open() {
    showLoaded(model_->open());
}

void PagedForm::draw() {
    for (int r = 0; r < PagedWindowModel::PageSize; ++r) drawRow(r);
    showText(goto_, model_->gotoText());
    const QSignalBlocker blocker(VScroll1);
    VScroll1->setRange(1, model_->maximum());
    VScroll1->setPageStep(model_->largeStep());
    if (!VScroll1->isSliderDown()) VScroll1->setValue(model_->first());
    drawExtras();
}

void PagedForm::drawRow(int r) {
    const PageRow& row = model_->row(r);
    showText(Label2[r], row.number);
    if (Label1[r]) showText(Label1[r], row.name);
    showText(values_[r], row.value);
    if (colours_[r] == row.colour) return;
    colours_[r] = row.colour;
    showStateColour(*values_[r], row.colour);
}

void PagedForm::focusGoto() {
    goto_->setFocus(Qt::OtherFocusReason);
}

// Dropping the focus this way would end a drag of the scroll box, so it waits for the release.
void PagedForm::releaseScrollBar() {
    if (VScroll1->isSliderDown()) return;
    VScroll1->setEnabled(false);
    VScroll1->setEnabled(true);
}

bool PagedForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == goto_) return gotoEvent(event);
    const QVariant row = watched->property(kRowProperty);
    if (row.isValid()) return valueBoxEvent(row.toInt(), event);
    if (event->type() == QEvent::MouseButtonPress) model_->labelClicked();
    return false;
}

bool PagedForm::gotoEvent(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const std::optional<QChar> key = typedKey(static_cast<const QKeyEvent&>(*event));
    return key && !model_->gotoKey(*key);
}

bool PagedForm::valueBoxEvent(int r, QEvent* event) {
    return forwardValueBoxEvent(*model_, r, event);
}

void PagedForm::closeEvent(QCloseEvent* event) {
    model_->unload(displayState(), placementTwips());
    event->accept();
}

void showText(QWidget* control, const QString& text) {
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        if (box->text() != text) box->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        if (button->text() != text) button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text() != text) label->setText(text);
    }
}

}  // namespace zel
