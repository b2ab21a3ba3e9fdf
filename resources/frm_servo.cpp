#include "resources/frm_servo.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "resources/paged_form.h"

namespace zel {
namespace {

constexpr char kIndexProperty[] = "servoIndex";

}  // namespace

ServoForm::ServoForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                     SymbolLookup* symbols, MessageSink setMessage, const char* title, int window,
                     QWidget* parent)
    : ResourceForm(state, library, store, symbols, std::move(setMessage),
                   QString::fromLatin1(title), parent),
      window_(window) {}

ServoForm::~ServoForm() {
    if (model_) model_->setView(window_, nullptr);
}

void ServoForm::attach(std::shared_ptr<ServoModel> model) {
    model_ = std::move(model);
    buildRows();
    model_->setView(window_, this);
}

void ServoForm::buildRows() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(newLabel(QStringLiteral("NameCaption"), QStringLiteral("Name:")), 0, 1);
    grid->addWidget(newLabel(QStringLiteral("PositionCaption"), QStringLiteral("Position:")), 0, 2);
    grid->addWidget(newLabel(QStringLiteral("ErrorCaption"), QStringLiteral("Error:")), 0, 3);
    for (int r = 0; r < ServoModel::ServosPerWindow; ++r) {
        Label1[r] = newLabel(controlName("Label1", r));
        Label4[r] = newLabel(controlName("Label4", r));
        Label4[r]->setMinimumWidth(120);
        const int index = window_ * ServoModel::ServosPerWindow + r;
        Text1[r] = newTextBox(controlName("Text1", r));
        Text1[r]->setProperty(kIndexProperty, index);
        Text1[r]->installEventFilter(this);
        Text2[r] = newTextBox(controlName("Text2", r));
        Text2[r]->setReadOnly(true);
        connect(Text1[r], &QLineEdit::textEdited, this,
                [this, index](const QString& text) { model_->setPositionText(index, text); });
        for (int column = 0; QWidget * w : std::initializer_list<QWidget*>{Label1[r], Label4[r],
                                                                           Text1[r], Text2[r]})
            grid->addWidget(w, r + 1, column++);
        addRowTrendAction({Label1[r], Label4[r], Text1[r]}, [this, index] {
            return model_->trendItem(index, ServoModel::Value::Position);
        });
        addRowTrendAction({Text2[r]}, [this, index] {
            return model_->trendItem(index, ServoModel::Value::Error);
        });
    }
}

void ServoForm::draw() {
    for (int r = 0; r < ServoModel::ServosPerWindow; ++r) {
        const ServoRow& row = model_->row(window_ * ServoModel::ServosPerWindow + r);
        showText(Label1[r], row.number);
        showText(Label4[r], row.name);
        showText(Text1[r], row.position);
        showText(Text2[r], row.error);
    }
}

bool ServoForm::eventFilter(QObject* watched, QEvent* event) {
    const QVariant index = watched->property(kIndexProperty);
    return index.isValid() && positionEvent(index.toInt(), event);
}

bool ServoForm::positionEvent(int index, QEvent* event) {
    if (leavesBox(*event)) model_->positionFocusLost(index);
    if (event->type() != QEvent::KeyPress) return false;
    const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
    if (isDeleteKey(keyEvent)) model_->positionDelete(index);
    const std::optional<QChar> key = typedKey(keyEvent);
    return key && !model_->positionKey(index, *key);
}

frmServo::frmServo(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                   SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : ServoForm(state, library, store, symbols, std::move(setMessage), "Motors/Servos 1-16", 0,
                parent) {
    setObjectName(QStringLiteral("frmServo"));
    attach(std::make_shared<ServoModel>(services()));
}

void frmServo::open() {
    showLoaded(model().openFirst());
}

void frmServo::closeEvent(QCloseEvent* event) {
    model().unloadFirst(displayState(), placementTwips());
    event->accept();
}

frmServo2::frmServo2(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                     SymbolLookup* symbols, MessageSink setMessage, frmServo& first,
                     QWidget* parent)
    : ServoForm(state, library, store, symbols, std::move(setMessage), "Motors/Servos 17-32", 1,
                parent) {
    setObjectName(QStringLiteral("frmServo2"));
    attach(first.sharedModel());
}

void frmServo2::open() {
    showLoaded(model().openSecond(services().showMessageBox));
}

void frmServo2::closeEvent(QCloseEvent* event) {
    model().unloadSecond();
    event->accept();
}

}  // namespace zel
