#include "resources/flag_window_model.h"

#include "common/bit_value.h"
#include "resources/flag_word.h"
#include "link/library_version.h"

namespace zel {
namespace {

constexpr int32_t kFlagSetBase = 13200;  // 13200 + n writes flag n
constexpr int32_t kOlderLibraryFlagLimit = 32;
constexpr int32_t kNewerLibraryFlagLimit = 256;

const QString kSet = QStringLiteral("Set");
const QString kClear = QStringLiteral("Clear");

}  // namespace

FlagWindowModel::FlagWindowModel(ResourceServices services)
    : PagedWindowModel(std::move(services), {.section = settings::PlacementSection::Flags,
                                             .openFlag = &WindowOpenFlags::FlagFormOpen,
                                             .unloadText = "Flag Form unloaded."}) {}

int FlagWindowModel::scrollMaximum() const {
    return services_.state.connection.Counts.FlagCount() - 15;
}

std::optional<int32_t> FlagWindowModel::presentCount() const {
    return services_.state.connection.Counts.FlagCount();
}

QString FlagWindowModel::rowName(int32_t number, bool) const {
    const QString name = symbolName(services_, SymbolCode::Flag, number);
    return name.isEmpty() ? QStringLiteral("flag_") + QString::number(number) : name;
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
    reportWrite(services_, writeFlag(n, value), QStringLiteral("Flag #%1 updated.").arg(n),
                "Failed to update Flag value!");
    if (afterWrite_) afterWrite_();
}

// Older libraries set only the first 32 flags directly; beyond that, and beyond 256 for any
// library, a flag is written through its own register.
int32_t FlagWindowModel::writeFlag(int32_t flag, int16_t value) {
    const int32_t handle = services_.state.connection.CommHandle;
    const bool direct =
        flag <= kOlderLibraryFlagLimit ||
        (flag <= kNewerLibraryFlagLimit && SelectCommFunction(services_.library) == 1);
    if (direct) return services_.library.ZlPutFlag(handle, flag, value);
    return services_.library.ZlPutRegister(handle, kFlagSetBase + flag, value);
}

// The word the flag is read from.
RowRegisters FlagWindowModel::rowRegisters(int r) const {
    const int32_t word = flagWord(resourceNumber(r));
    return {word, word};
}

}  // namespace zel
