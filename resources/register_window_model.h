// The Registers and NV registers windows: 32-bit registers 16 to a page, shown and typed in
// decimal or hexadecimal. On model 5 controllers the NV registers from 36001 on hold doubles,
// read and written through the V-register record.
#pragma once

#include <functional>

#include "resources/paged_window_model.h"

namespace zel {

enum class RegisterBank {
    Lower,  // the Registers window, registers 1 to 32000
    Upper,  // the NV registers window, 32001 on
};

class RegisterWindowModel final : public PagedWindowModel {
public:
    RegisterWindowModel(ResourceServices services, RegisterBank bank);

    bool hexView() const { return hexView_; }
    // Label4's caption.
    QString modeCaption() const;
    // Either item of the Display menu. One item is always checked, and a click on the checked
    // item selects the other mode, so every click switches the mode.
    void displayMenuClicked();

    // Run after every write from the Registers window: it empties the DDE window's register
    // write box.
    void setAfterWrite(std::function<void()> afterWrite) { afterWrite_ = std::move(afterWrite); }

    void refresh(PollContext& context) override;

protected:
    int scrollMaximum() const override;
    QString rowName(int32_t number, bool atLoad) const override;
    QString symbol(int32_t number) const override { return symbolIn(number, true); }
    std::optional<TrendSource> trendSource(int32_t number) const override;
    QString loadValue(bool) const override { return QStringLiteral("0"); }
    void relabelRow(PageRow& row) override;
    void writeRow(int r) override;
    void resetWindow() override { hexView_ = false; }

private:
    // The register's symbol name; the registers table is consulted only when `bothTables`.
    QString symbolIn(int32_t number, bool bothTables) const;
    bool holdsDouble(int32_t number) const;
    QString readValue(PollContext& context, int32_t number) const;
    int32_t writeValue(int32_t number, const QString& text);
    int32_t typedValue(const QString& text) const;

    RegisterBank bank_;
    bool hexView_ = false;
    std::function<void()> afterWrite_;
};

}  // namespace zel
