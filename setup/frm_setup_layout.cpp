// The controls of frmSetup and where they sit; names are the ones the rules use.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "setup/frm_setup.h"

namespace zel {
namespace {

QString indexed(const char* name, size_t index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

QLabel* valueLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setMinimumWidth(60);
    return label;
}

}  // namespace

QLineEdit* frmSetup::newField(const QString& name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->installEventFilter(this);
    return field;
}

QPushButton* frmSetup::newButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    // Enter belongs to the fields; no button may take it as the dialog's default.
    button->setAutoDefault(false);
    return button;
}

void frmSetup::buildForm() {
    setWindowTitle(QStringLiteral("Communication Setup"));
    auto* top = new QHBoxLayout;
    top->addWidget(buildConnectionFrame());
    top->addWidget(buildConfigurationFrame());
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(buildInputFrame());
    main->addWidget(buildAddressFrame());
    ExitButton = newButton(QStringLiteral("ExitButton"), QStringLiteral("E&xit"));
    main->addWidget(ExitButton, 0, Qt::AlignRight);
}

QWidget* frmSetup::buildConnectionFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Connection"));
    auto* form = new QFormLayout(frame);
    Combo1 = new QComboBox;
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->addItems(ConnectionFrame::kindItems());
    Combo2 = new QComboBox;
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->addItems(ConnectionFrame::rateItems());
    chkSearch = new QCheckBox(QStringLiteral("Automatically Search for Baud Rate"));
    chkSearch->setObjectName(QStringLiteral("chkSearch"));
    auto field = [this](SetupField f, const char* name) {
        return connectionFields_[static_cast<size_t>(f)] = newField(QLatin1String(name));
    };
    form->addRow(QStringLiteral("Communication Port:"), Combo1);
    form->addRow(QStringLiteral("Baud Rate Selected:"), Combo2);
    form->addRow(chkSearch);
    form->addRow(QStringLiteral("Host Node:"), field(SetupField::Text1, "Text1"));
    form->addRow(QStringLiteral("Target Node:"), field(SetupField::Text2, "Text2"));
    form->addRow(QStringLiteral("Network Adapter:"), field(SetupField::Adapter, "txtAdapter"));
    form->addRow(QStringLiteral("Controller IP Address:"), field(SetupField::Text3, "Text3"));
    form->addRow(QStringLiteral("Timeout (ms):"), field(SetupField::Text4, "Text4"));
    return frame;
}

QWidget* frmSetup::buildConfigurationFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Controller Configuration"));
    auto* grid = new QGridLayout(frame);
    constexpr size_t kRowsPerColumn = kConfigurationValueCount / 2;
    for (size_t i = 0; i < Label14.size(); ++i) {
        const int row = static_cast<int>(i % kRowsPerColumn);
        const int column = static_cast<int>(i / kRowsPerColumn) * 2;
        Label14[i] = valueLabel(indexed("Label14", i));
        grid->addWidget(new QLabel(QLatin1String(kConfigurationCaptions[i])), row, column);
        grid->addWidget(Label14[i], row, column + 1);
    }
    for (size_t i = 0; i < Label19.size(); ++i) {
        Label19[i] = valueLabel(indexed("Label19", i));
        grid->addWidget(Label19[i], static_cast<int>(kRowsPerColumn + i), 0, 1, 4);
    }
    return frame;
}

QWidget* frmSetup::buildInputFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Controller Inputs"));
    auto* grid = new QGridLayout(frame);
    for (size_t i = 0; i < Command3d1.size(); ++i) {
        const int row = static_cast<int>(i / 2);
        const int column = static_cast<int>(i % 2) * 2;
        Command3d1[i] = newButton(indexed("Command3d1", i), QString());
        grid->addWidget(new QLabel(QLatin1String(kInputCaptions[i])), row, column);
        grid->addWidget(Command3d1[i], row, column + 1);
    }
    return frame;
}

QWidget* frmSetup::buildAddressFrame() {
    Frame1 = new QFrame;
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    frameCaption_ = newButton(QStringLiteral("Frame1Caption"), QString());
    frameCaption_->setFlat(true);
    addressContent_ = new QWidget;
    auto* grid = new QGridLayout(addressContent_);
    const std::array<const char*, 3> rowCaptions = {
        "IP Address:", "SubNet Mask:", "Gateway Address:"};
    for (size_t i = 0; i < txtAddress.size(); ++i) {
        txtAddress[i] = newField(indexed("txtAddress", i));
        txtAddress[i]->setMaximumWidth(txtAddress[i]->fontMetrics().horizontalAdvance("0000000"));
    }
    for (size_t row = 0; row < rowCaptions.size(); ++row) {
        grid->addWidget(new QLabel(QLatin1String(rowCaptions[row])), static_cast<int>(row), 0);
        for (size_t octet = 0; octet < 4; ++octet)
            grid->addWidget(txtAddress[row * 4 + octet], static_cast<int>(row),
                            static_cast<int>(octet) + 1);
    }
    lblMacID = valueLabel(QStringLiteral("lblMacID"));
    cmdLoadIP = newButton(QStringLiteral("cmdLoadIP"), QStringLiteral("Apply"));
    grid->addWidget(new QLabel(QStringLiteral("ZLNet Node:")), 3, 0);
    grid->addWidget(txtAddress[kNodeField], 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("MAC ID:")), 3, 2);
    grid->addWidget(lblMacID, 3, 3, 1, 2);
    grid->addWidget(cmdLoadIP, 4, 4);
    grid->setColumnStretch(5, 1);
    auto* layout = new QVBoxLayout(Frame1);
    layout->addWidget(frameCaption_, 0, Qt::AlignLeft);
    layout->addWidget(addressContent_);
    return Frame1;
}

}  // namespace zel
