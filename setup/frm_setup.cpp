#include "setup/frm_setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/form_keys.h"
#include "settings/window_placement.h"

namespace zel {
namespace {

void showText(QLineEdit* field, const QString& text) {
    if (field->text() != text) field->setText(text);
}

}  // namespace

frmSetup::frmSetup(AppState& state, ZelLibrary& library, SetupHost& host, QWidget* parent)
    : QDialog(parent), model_(state, library, host) {
    setObjectName(QStringLiteral("frmSetup"));
    setModal(false);
    buildForm();
    connectControls();
    draw();
}

frmSetup::~frmSetup() = default;

void frmSetup::loadCurrentValues() {
    model_.load();
    draw();
    adjustSize();
}

void frmSetup::GetAddresses() {
    model_.network().GetAddresses();
    draw();
}

void frmSetup::done(int result) {
    model_.unload();
    QDialog::done(result);
}

void frmSetup::connectControls() {
    ConnectionFrame& connection = model_.connection();
    connect(Combo1, &QComboBox::activated, this, [this, &connection](int index) {
        connection.chooseKind(index);
        draw();
    });
    connect(Combo2, &QComboBox::activated, this, [this, &connection](int index) {
        connection.chooseRate(index);
        draw();
    });
    connect(chkSearch, &QCheckBox::clicked, this,
            [&connection](bool checked) { connection.setSearchChecked(checked); });
    for (size_t i = 0; i < connectionFields_.size(); ++i)
        connect(connectionFields_[i], &QLineEdit::textEdited, this,
                [&connection, i](const QString& text) {
                    connection.setText(static_cast<SetupField>(i), text);
                });
    for (size_t i = 0; i < Command3d1.size(); ++i)
        connect(Command3d1[i], &QPushButton::clicked, this, [this, i] {
            model_.configuration().clickInput(static_cast<int>(i));
            draw();
        });
    connect(ExitButton, &QPushButton::clicked, this, &frmSetup::exitClicked);
    connectAddressFields();
}

void frmSetup::connectAddressFields() {
    NetworkAddresses& network = model_.network();
    connect(frameCaption_, &QPushButton::clicked, this, [this, &network] {
        network.clickFrame();
        draw();
        adjustSize();
    });
    connect(cmdLoadIP, &QPushButton::clicked, this, [this, &network] {
        network.apply();
        draw();
    });
    for (size_t i = 0; i < txtAddress.size(); ++i)
        connect(txtAddress[i], &QLineEdit::textEdited, this,
                [this, &network, i](const QString& text) {
                    network.setFieldText(static_cast<int>(i), text);
                    draw();
                });
}

void frmSetup::exitClicked() {
    model_.exit();
    close();
}

std::optional<SetupField> frmSetup::connectionFieldOf(const QObject* widget) const {
    for (size_t i = 0; i < connectionFields_.size(); ++i)
        if (connectionFields_[i] == widget) return static_cast<SetupField>(i);
    return std::nullopt;
}

int frmSetup::addressFieldOf(const QObject* widget) const {
    for (size_t i = 0; i < txtAddress.size(); ++i)
        if (txtAddress[i] == widget) return static_cast<int>(i);
    return -1;
}

bool frmSetup::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (keyInField(watched, static_cast<const QKeyEvent&>(*event))) return true;
            break;
        case QEvent::FocusOut:
            if (leavesBox(*event)) leaveField(watched);
            break;
        case QEvent::MouseButtonRelease:
            if (const int field = addressFieldOf(watched); field >= 0) {
                model_.network().clickField(field);
                draw();
            }
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

// True when the key is consumed. Enter always is, so it never reaches a button.
bool frmSetup::keyInField(QObject* field, const QKeyEvent& key) {
    const std::optional<QChar> typed = typedKey(key);
    if (!typed) return false;
    const int code = typed->unicode();
    bool consumed = false;
    if (const auto connectionField = connectionFieldOf(field))
        consumed = model_.connection().keyPress(*connectionField, code);
    else if (const int address = addressFieldOf(field); address >= 0)
        consumed = model_.network().keyPress(address, code);
    else
        return false;
    draw();
    return consumed || code == kEnterKey;
}

void frmSetup::leaveField(QObject* field) {
    if (const auto connectionField = connectionFieldOf(field)) {
        model_.connection().leave(*connectionField);
        draw();
    }
}

void frmSetup::draw() {
    drawConnection();
    drawConfiguration();
    drawAddresses();
}

void frmSetup::drawConnection() {
    const ConnectionFrame& connection = model_.connection();
    Combo1->setCurrentIndex(connection.kindIndex());
    Combo2->setCurrentIndex(connection.rateIndex());
    chkSearch->setChecked(connection.searchChecked());
    for (size_t i = 0; i < connectionFields_.size(); ++i)
        showText(connectionFields_[i], connection.text(static_cast<SetupField>(i)));
    const Enabling enabling = connection.enabling();
    Combo2->setEnabled(enabling.Combo2);
    connectionFields_[static_cast<size_t>(SetupField::Text1)]->setEnabled(enabling.Text1);
    connectionFields_[static_cast<size_t>(SetupField::Text2)]->setEnabled(enabling.Text2);
    connectionFields_[static_cast<size_t>(SetupField::Text3)]->setEnabled(enabling.Text3);
    connectionFields_[static_cast<size_t>(SetupField::Adapter)]->setEnabled(enabling.Adapter);
}

void frmSetup::drawConfiguration() {
    const ConfigurationFrame& configuration = model_.configuration();
    for (size_t i = 0; i < Label14.size(); ++i) Label14[i]->setText(configuration.values()[i]);
    for (size_t i = 0; i < Label19.size(); ++i) Label19[i]->setText(configuration.statusLines()[i]);
    for (size_t i = 0; i < Command3d1.size(); ++i)
        Command3d1[i]->setText(configuration.inputCaptions()[i]);
}

void frmSetup::drawAddresses() {
    NetworkAddresses& network = model_.network();
    frameCaption_->setText(network.caption());
    addressContent_->setVisible(network.isOpen());
    Frame1->setMinimumHeight(settings::twipsToPixels(network.heightTwips(), logicalDpiY()));
    for (size_t i = 0; i < txtAddress.size(); ++i)
        showText(txtAddress[i], network.fieldText(static_cast<int>(i)));
    lblMacID->setText(network.macText());
    if (const auto focus = network.takeFocusRequest())
        txtAddress[static_cast<size_t>(*focus)]->setFocus(Qt::OtherFocusReason);
}

}  // namespace zel
