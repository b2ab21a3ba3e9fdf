#include "resources/flag_window_model.h"

#include "common/bit_value.h"
#include "resources/flag_word.h"

namespace zel {
namespace {

const QString kSet = QStringLiteral("Set");
const QString kClear = QStringLiteral("Clear");

}  // namespace

FlagWindowModel::FlagWindowModel(ResourceServices services)
    : PagedWindowModel(std::move(services), {.section = settings::PlacementSection::Flags,
                                             .openFlag = &WindowOpenFlags::FlagFormOpen,
                                             .unloadText = "Flag Form unloaded.",
                                             .trendName = "Flag"}) {}

int FlagWindowModel::scrollMaximum() const {
    return services_.state.connection.Counts.FlagCount() - 15;
}

std::optional<int32_t> FlagWindowModel::presentCount() const {
    return services_.state.connection.Counts.FlagCount();
}

QString FlagWindowModel::rowName(int32_t number, bool) const {
    const QString name = symbol(number);
    return name.isEmpty() ? QStringLiteral("flag_") + QString::number(number) : name;
}

QString FlagWindowModel::symbol(int32_t number) const {
    return symbolName(services_, SymbolCode::Flag, number);
}

std::optional<TrendSource> FlagWindowModel::trendSource(int32_t number) const {
    return TrendSource::bit(flagWord(number), flagBit(number));
}

int32_t FlagWindowModel::flagWord(int32_t flag) const {
    return flagWordRegister(services_.state.connection.Counts, flag);
}

// One read for the word of the top row's flag, one more when the page runs into the next word.
// A failed read leaves every button as it was.
void FlagWindowModel::refresh(PollContext& context) {
    const int32_t topWord = flagWord(resourceNumber(0));
    const int32_t bottomWord = flagWord(resourceNumber(PageSize - 1));
    const std::optional<int32_t> top = readRegister(context, topWord);
    const std::optional<int32_t> bottom =
        !top || bottomWord == topWord ? top : readRegister(context, bottomWord);
    if (!bottom) {
        context.readFailed();
        return;
    }
    refreshRows(context, [&](int r) {
        const int32_t n = resourceNumber(r);
        const int32_t word = flagWord(n) == topWord ? *top : *bottom;
        rowAt(r).value = bitIsSet(word, flagBit(n)) ? kSet : kClear;
    });
    draw();
}

void FlagWindowModel::flagClicked(int r) {
    const int32_t n = resourceNumber(r);
    QString& caption = rowAt(r).value;
    const int16_t value = caption == kSet ? 0 : 1;
    caption = value == 1 ? kSet : kClear;
    draw();
    writeAndReport(
        services_,
        [&] { return writeFlag(services_.library, services_.state.connection.CommHandle, n, value); },
        QStringLiteral("Flag #%1 updated.").arg(n), "Failed to update Flag value!");
    if (afterWrite_) afterWrite_();
}

// The word the flag is read from.
RowRegisters FlagWindowModel::rowRegisters(int r) const {
    const int32_t word = flagWord(resourceNumber(r));
    return {word, word};
}

}  // namespace zel
