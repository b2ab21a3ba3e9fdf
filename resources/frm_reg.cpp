#include "resources/frm_reg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

namespace zel {
namespace {

PagedFormLayout layoutFor(RegisterBank bank) {
    return {bank == RegisterBank::Lower ? "Registers" : "NVRegisters", ValueControl::TextBox,
            "Text2"};
}

}  // namespace

RegisterForm::RegisterForm(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                           SymbolLookup* symbols, MessageSink setMessage, RegisterBank bank,
                           QWidget* parent)
    : PagedForm(state, library, store, symbols, std::move(setMessage), layoutFor(bank), parent) {
    auto model = std::make_unique<RegisterWindowModel>(services(), bank);
    model_ = model.get();
    attach(std::move(model));
    Label4 = newLabel(QStringLiteral("Label4"));
    Command1 = new QPushButton(QStringLiteral("View Bits"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setEnabled(false);
    Command1->setToolTip(QStringLiteral("Not available in this version of ZEL Monitor."));
    connect(Command1, &QPushButton::clicked, this, [this] { viewBits_(); });
    addToHeader(Label4);
    addToHeader(Command1);
    buildDisplayMenu(bank);
}

void RegisterForm::setViewBitsHandler(std::function<void()> handler) {
    viewBits_ = std::move(handler);
    Command1->setEnabled(static_cast<bool>(viewBits_));
    Command1->setToolTip({});
}

// The two windows' designs name the menu and its items differently.
void RegisterForm::buildDisplayMenu(RegisterBank bank) {
    const bool lower = bank == RegisterBank::Lower;
    auto* bar = new QMenuBar(this);
    QMenu* menu = bar->addMenu(QStringLiteral("&Display"));
    menu->setObjectName(lower ? QStringLiteral("RegMenu") : QStringLiteral("RegType"));
    const QString itemName = lower ? QStringLiteral("DisplayMnu_") : QStringLiteral("DisplayMenu_");
    int index = 0;
    for (const QString& caption : {QStringLiteral("&Decimal"), QStringLiteral("&Hexadecimal")}) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(itemName + QString::number(index + 1));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this] { model_->displayMenuClicked(); });
        displayItems_[static_cast<size_t>(index++)] = item;
    }
    layout()->setMenuBar(bar);
}

void RegisterForm::drawExtras() {
    Label4->setText(model_->modeCaption());
    displayItems_[0]->setChecked(!model_->hexView());
    displayItems_[1]->setChecked(model_->hexView());
}

frmReg::frmReg(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
               SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : RegisterForm(state, library, store, symbols, std::move(setMessage), RegisterBank::Lower,
                   parent) {
    setObjectName(QStringLiteral("frmReg"));
}

frmRam::frmRam(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
               SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : RegisterForm(state, library, store, symbols, std::move(setMessage), RegisterBank::Upper,
                   parent) {
    setObjectName(QStringLiteral("frmRam"));
}

}  // namespace zel
