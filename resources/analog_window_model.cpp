#include "resources/analog_window_model.h"

#include <algorithm>

#include "common/number_text.h"
#include "resources/resource_registers.h"

namespace zel {
namespace {

constexpr double kOutputLimit = kAnalogOutputLimit;

PageRules rulesFor(AnalogKind kind) {
    if (kind == AnalogKind::Inputs)
        return {.section = settings::PlacementSection::Analin,
                .openFlag = &WindowOpenFlags::AnalInFormOpen,
                .unloadText = "Analog Input Form unloaded.",
                .largeStep = 4,
                .trendName = "Analog Input"};
    return {.section = settings::PlacementSection::Analout,
            .openFlag = &WindowOpenFlags::AnalOutFormOpen,
            .unloadText = "Analog Output Form unloaded.",
            .valueGotoKeys = "Aa",
            .largeStep = 4,
            .gotoSharesEditGuard = true,
            .trendName = "Analog Output"};
}

}  // namespace

AnalogWindowModel::AnalogWindowModel(ResourceServices services, AnalogKind kind)
    : PagedWindowModel(std::move(services), rulesFor(kind)), kind_(kind) {}

std::optional<int32_t> AnalogWindowModel::presentCount() const {
    const IOCounts& counts = services_.state.connection.Counts;
    return kind_ == AnalogKind::Inputs ? counts.AnalogInCount() : counts.AnalogOutCount();
}

QString AnalogWindowModel::rowName(int32_t number, bool) const {
    const QString name = symbol(number);
    if (!name.isEmpty()) return name;
    return (kind_ == AnalogKind::Inputs ? QStringLiteral("ain_") : QStringLiteral("aout_")) +
           QString::number(number);
}

QString AnalogWindowModel::symbol(int32_t number) const {
    return symbolName(
        services_, kind_ == AnalogKind::Inputs ? SymbolCode::AnalogInput : SymbolCode::AnalogOutput,
        number);
}

// Channels past the last one the controller can have show "N/A" and have nothing to trend.
std::optional<TrendSource> AnalogWindowModel::trendSource(int32_t channel) const {
    if (channel > kLastAnalogChannel) return std::nullopt;
    return TrendSource::reg(channelRegister(channel));
}

QString AnalogWindowModel::loadValue(bool present) const {
    return present ? QString() : QString::fromLatin1(kNotAvailable);
}

int32_t AnalogWindowModel::channelRegister(int32_t channel) const {
    return (kind_ == AnalogKind::Inputs ? kAnalogInBase : kAnalogOutBase) + channel;
}

// Rows the pass did not reach because the link went meanwhile show "N/A" as well.
void AnalogWindowModel::refresh(PollContext& context) {
    const int reached = refreshRows(
        context, [&](int r) { rowAt(r).value = readValue(context, resourceNumber(r)); });
    if (!isOpen()) return;
    for (int r = reached; r < PageSize; ++r)
        if (!editGuard().skips(r)) rowAt(r).value = QString::fromLatin1(kNotAvailable);
    draw();
}

QString AnalogWindowModel::readValue(PollContext& context, int32_t channel) const {
    if (channel > kLastAnalogChannel || !context.linkUsable()) return QString::fromLatin1(kNotAvailable);
    if (const std::optional<int32_t> value = readRegister(context, channelRegister(channel)))
        return QString::number(*value);
    return QString::fromLatin1(context.readFailed() ? kNotAvailable : kUnreadable);
}

void AnalogWindowModel::writeRow(int r) {
    if (kind_ == AnalogKind::Inputs) return;  // input boxes take no entries
    const int32_t channel = resourceNumber(r);
    const double typed = std::clamp(val(rowAt(r).value), -kOutputLimit, kOutputLimit);
    writeAndReport(
        services_,
        [&] {
            return services_.library.ZlPutRegister(services_.state.connection.CommHandle,
                                                   channelRegister(channel),
                                                   static_cast<int32_t>(roundHalfEven(typed)));
        },
        QStringLiteral("Analog output #%1 updated.").arg(channel),
        "Failed to update analog output value!");
}

RowRegisters AnalogWindowModel::rowRegisters(int r) const {
    const int32_t number = channelRegister(resourceNumber(r));
    return {number, number};
}

}  // namespace zel
