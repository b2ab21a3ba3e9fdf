#include "resources/frm_reg_bits.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

namespace zel {
namespace {

constexpr int kFirstBitColumn = 3;  // after Label2, Label1 and Text1

// Bit 31 is on the left, so a row reads as the binary number.
int bitColumn(int k) {
    return kFirstBitColumn + RegisterBitsModel::BitsPerRow - 1 - k;
}

}  // namespace

frmRegBits::frmRegBits(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
                       SymbolLookup* symbols, MessageSink setMessage, QWidget* parent)
    : PagedForm(state, library, store, symbols, std::move(setMessage),
                {"ZEL Registers (Bits)", ValueControl::TextBox, "Text2", false}, parent) {
    setObjectName(QStringLiteral("frmRegBits"));
    auto model = std::make_unique<RegisterBitsModel>(services());
    model_ = model.get();
    attach(std::move(model));
    buildRangeOptions();
    buildBits();
}

void frmRegBits::buildRangeOptions() {
    Option1 = new QRadioButton(QStringLiteral("Lower Regs"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral("Upper Regs"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    connect(Option1, &QRadioButton::clicked, this,
            [this] { model_->selectRange(RegisterBank::Lower); });
    connect(Option2, &QRadioButton::clicked, this,
            [this] { model_->selectRange(RegisterBank::Upper); });
    addToHeader(Option1);
    addToHeader(Option2);
}

void frmRegBits::buildBits() {
    QGridLayout* grid = rowGrid();
    for (int k = 0; k < RegisterBitsModel::BitsPerRow; ++k) {
        QLabel* heading = newLabel(controlName("Label5", k), QString::number(k));
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, bitColumn(k));
    }
    for (int i = 0; i < BitCount; ++i) {
        auto* box = new QCheckBox(this);
        box->setObjectName(controlName("Bit1", i));
        connect(box, &QCheckBox::clicked, this, [this, i] { model_->bitClicked(i); });
        grid->addWidget(box, gridLine(i / RegisterBitsModel::BitsPerRow),
                        bitColumn(i % RegisterBitsModel::BitsPerRow));
        Bit1[static_cast<size_t>(i)] = box;
    }
    // Tab goes along each row as it reads: the value box, then the bits from bit 31 on the left.
    QWidget* previous = nullptr;
    for (int r = 0; r < PagedWindowModel::PageSize; ++r) {
        if (previous) setTabOrder(previous, valueControl(r));
        previous = valueControl(r);
        for (int k = RegisterBitsModel::BitsPerRow - 1; k >= 0; --k) {
            QWidget* bit = Bit1[static_cast<size_t>(r * RegisterBitsModel::BitsPerRow + k)];
            setTabOrder(previous, bit);
            previous = bit;
        }
    }
}

void frmRegBits::selectRange(RegisterBank range) {
    model_->selectRange(range);
    valueControl(0)->setFocus(Qt::OtherFocusReason);
}

void frmRegBits::drawExtras() {
    (model_->range() == RegisterBank::Lower ? Option1 : Option2)->setChecked(true);
    for (int i = 0; i < BitCount; ++i) {
        QCheckBox* box = Bit1[static_cast<size_t>(i)];
        if (box->isChecked() != model_->bit(i)) box->setChecked(model_->bit(i));
    }
}

}  // namespace zel
