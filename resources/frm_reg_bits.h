// frmRegBits, the Register bits window: the paged form with the range options Option1 "Lower
// Regs" and Option2 "Upper Regs" and, on each row, the check boxes Bit1(32 r + k) under the bit
// headings Label5(k), bit 31 on the left.
#pragma once

#include <array>

#include "resources/paged_form.h"
#include "resources/register_bits_model.h"

class QCheckBox;
class QRadioButton;

namespace zel {

class frmRegBits final : public PagedForm {
    Q_OBJECT
public:
    frmRegBits(AppState& state, ZelLibrary& library, settings::SettingsStore& store,
               SymbolLookup* symbols, MessageSink setMessage, QWidget* parent = nullptr);

    RegisterBitsModel& model() { return *model_; }
    // What "View Bits" of the Registers or NV registers window asks for: that window's range,
    // with the focus in the first value box.
    void selectRange(RegisterBank range);

protected:
    void drawExtras() override;

private:
    static constexpr int BitCount = PagedWindowModel::PageSize * RegisterBitsModel::BitsPerRow;

    void buildRangeOptions();
    void buildBits();

    RegisterBitsModel* model_ = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    std::array<QCheckBox*, BitCount> Bit1{};
};

}  // namespace zel
