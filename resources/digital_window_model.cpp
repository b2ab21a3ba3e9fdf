#include "resources/digital_window_model.h"

#include "resources/resource_registers.h"

namespace zel {
namespace {

PageRules rulesFor(DigitalKind kind) {
    if (kind == DigitalKind::Inputs)
        return {.section = settings::PlacementSection::Digin,
                .openFlag = &WindowOpenFlags::DigInFormOpen,
                .unloadText = "Digital Input Form unloaded.",
                .trendName = "Digital Input"};
    return {.section = settings::PlacementSection::Digout,
            .openFlag = &WindowOpenFlags::DigOutFormOpen,
            .unloadText = "Digital Output Form unloaded.",
            .trendName = "Digital Output"};
}

}  // namespace

DigitalWindowModel::DigitalWindowModel(ResourceServices services, DigitalKind kind)
    : PagedWindowModel(std::move(services), rulesFor(kind)), kind_(kind) {}

std::optional<int32_t> DigitalWindowModel::presentCount() const {
    const IOCounts& counts = services_.state.connection.Counts;
    return kind_ == DigitalKind::Inputs ? counts.InputCount() : counts.OutputCount();
}

DigitalState DigitalWindowModel::stateOf(int32_t number, int32_t value) const {
    return kind_ == DigitalKind::Inputs ? inputState(services_, number, value)
                                        : outputState(services_, number, value);
}

// A row is named by its symbol for value 0: an input's "on" name, an output's "off" name.
QString DigitalWindowModel::rowName(int32_t number, bool) const {
    return stateOf(number, kind_ == DigitalKind::Inputs ? 1 : 0).name;
}

// The symbol of the state the row is named by.
QString DigitalWindowModel::symbol(int32_t number) const {
    if (!services_.symbolsActive()) return {};
    return kind_ == DigitalKind::Inputs ? services_.symbols->InputSymbol(number, 1).name
                                        : services_.symbols->OutputSymbol(number, 0).name;
}

std::optional<TrendSource> DigitalWindowModel::trendSource(int32_t number) const {
    return TrendSource::reg((kind_ == DigitalKind::Inputs ? kInputBase : kOutputBase) + number);
}

void DigitalWindowModel::show(int r, int32_t value) {
    const DigitalState state = stateOf(resourceNumber(r), value);
    PageRow& row = rowAt(r);
    row.name = state.name;
    row.value = state.state;
    row.colour = state.colour;
}

// A failed read shows the row as off.
void DigitalWindowModel::refresh(PollContext& context) {
    refreshRows(context, [&](int r) {
        const std::optional<int32_t> value = readRegister(context, rowRegisters(r).first);
        if (!value) context.readFailed();
        show(r, value.value_or(0));
    });
    draw();
}

void DigitalWindowModel::outputClicked(int r) {
    const int32_t n = resourceNumber(r);
    const int32_t value = rowAt(r).value == QStringLiteral("On") ? 0 : 1;
    show(r, value);
    draw();
    if (services_.state.flags.NoCommunication) return;
    writeAndReport(
        services_,
        [&] {
            return services_.library.ZlPutRegister(services_.state.connection.CommHandle,
                                                   kOutputBase + n, value);
        },
        QStringLiteral("Output #%1 updated.").arg(n), "Failed to update output value!");
}

RowRegisters DigitalWindowModel::rowRegisters(int r) const {
    const int32_t number = (kind_ == DigitalKind::Inputs ? kInputBase : kOutputBase) +
                           resourceNumber(r);
    return {number, number};
}

}  // namespace zel
