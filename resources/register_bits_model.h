// The Register bits window: 16 registers to a page, each as a decimal value box and as 32 check
// boxes, bit 0 the least significant. Typing a value writes it at once; clicking a bit only
// changes the box, and the next polling tick writes the new value before it reads the page.
// It pages over the ordinary registers or the NV registers up to 36000 and keeps no placement.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "resources/paged_window_model.h"
#include "resources/register_window_model.h"

namespace zel {

class RegisterBitsModel final : public PagedWindowModel {
public:
    static constexpr int BitsPerRow = 32;

    explicit RegisterBitsModel(ResourceServices services);

    // Option1 ("Lower Regs") or Option2 ("Upper Regs"): page 1 of that range, every box "0".
    void selectRange(RegisterBank range);
    RegisterBank range() const { return range_; }

    // Check box Bit1(index), index = 32 r + k for bit k of row r.
    bool bit(int index) const;
    // A click on Bit1(index), which flips it; ignored while a value is being processed.
    void bitClicked(int index);
    bool writePending() const { return writePending_; }

    // Run after every typed write: it empties the DDE window's register write box.
    void setAfterWrite(std::function<void()> afterWrite) { afterWrite_ = std::move(afterWrite); }

    void refresh(PollContext& context) override;

protected:
    int scrollMaximum() const override;
    QString rowName(int32_t, bool) const override { return {}; }
    QString symbol(int32_t) const override { return {}; }
    std::optional<TrendSource> trendSource(int32_t number) const override {
        return TrendSource::reg(number);
    }
    QString loadValue(bool) const override { return QStringLiteral("0"); }
    void writeRow(int r) override;
    void resetWindow() override;
    void valueChanged(int r) override;

private:
    void sendPendingWrite(PollContext& context);

    RegisterBank range_ = RegisterBank::Lower;
    std::array<uint32_t, PageSize> bits_{};
    // BitsRowValues: the value a row last wrote, or will write for a pending click.
    std::array<int32_t, PageSize> rowValues_{};
    bool busy_ = false;  // BitsBusy: a value box is being processed
    bool writePending_ = false;
    int writeRow_ = 0;
    int32_t writeRegister_ = 0;
    std::function<void()> afterWrite_;
};

}  // namespace zel
