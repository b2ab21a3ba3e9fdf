// The Analog inputs and Analog outputs windows: channels 1 to 256 as signed integers, 16 to a
// page. An output takes a typed value on Enter, clamped to -20000..20000. A channel the
// controller does not have shows "N/A".
#pragma once

#include "resources/paged_window_model.h"

namespace zel {

enum class AnalogKind { Inputs, Outputs };

class AnalogWindowModel final : public PagedWindowModel {
public:
    AnalogWindowModel(ResourceServices services, AnalogKind kind);

    void refresh(PollContext& context) override;

    RowRegisters rowRegisters(int r) const override;
protected:
    int scrollMaximum() const override { return 241; }
    QString rowName(int32_t number, bool atLoad) const override;
    QString symbol(int32_t number) const override;
    std::optional<TrendSource> trendSource(int32_t number) const override;
    std::optional<int32_t> presentCount() const override;
    QString loadValue(bool present) const override;
    void writeRow(int r) override;

private:
    int32_t channelRegister(int32_t channel) const;
    QString readValue(PollContext& context, int32_t channel) const;

    AnalogKind kind_;
};

}  // namespace zel
