// The Flags window: flags 16 to a page as "Set" / "Clear" buttons that toggle the flag. The
// controller packs its flags 32 to a register word.
#pragma once

#include <functional>

#include "resources/paged_window_model.h"

namespace zel {

class FlagWindowModel final : public PagedWindowModel {
public:
    explicit FlagWindowModel(ResourceServices services);

    // A click on the button of row r: the caption flips at once and the flag is written.
    void flagClicked(int r);
    // Run after every flag write: it empties the DDE window's flag write box.
    void setAfterWrite(std::function<void()> afterWrite) { afterWrite_ = std::move(afterWrite); }

    void refresh(PollContext& context) override;

    RowRegisters rowRegisters(int r) const override;
protected:
    int scrollMaximum() const override;
    QString rowName(int32_t number, bool atLoad) const override;
    QString symbol(int32_t number) const override;
    std::optional<TrendSource> trendSource(int32_t number) const override;
    std::optional<int32_t> presentCount() const override;
    QString loadValue(bool) const override { return QStringLiteral("Clear"); }

private:
    int32_t flagWord(int32_t flag) const;

    std::function<void()> afterWrite_;
};

}  // namespace zel
