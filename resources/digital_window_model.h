// The Digital inputs and Digital outputs windows: one register per input or output, 1 for on,
// 0 for off. A row shows the symbol name of its present state, and its state text in green for
// on and red for off. Outputs toggle with a click; inputs are read only.
#pragma once

#include "resources/paged_window_model.h"

namespace zel {

enum class DigitalKind { Inputs, Outputs };

class DigitalWindowModel final : public PagedWindowModel {
public:
    DigitalWindowModel(ResourceServices services, DigitalKind kind);

    // A click on output row r: shows the new state at once and, with a link, writes it.
    void outputClicked(int r);

    void refresh(PollContext& context) override;

    RowRegisters rowRegisters(int r) const override;
protected:
    int scrollMaximum() const override { return 985; }
    QString rowName(int32_t number, bool atLoad) const override;
    QString symbol(int32_t number) const override;
    std::optional<TrendSource> trendSource(int32_t number) const override;
    std::optional<int32_t> presentCount() const override;
    QString loadValue(bool) const override { return QStringLiteral("Off"); }

private:
    DigitalState stateOf(int32_t number, int32_t value) const;
    void show(int r, int32_t value);

    DigitalKind kind_;
};

}  // namespace zel
