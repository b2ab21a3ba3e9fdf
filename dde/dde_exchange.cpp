// The DDE window's block of the polling tick: the flag word, the single register, the block
// of fifty and the sixteen free entries, each read only when its box holds an address above 0.
#include "dde/dde_model.h"

#include <array>

#include "resources/flag_word.h"

namespace zel {
namespace {

// The names of a control array's elements 1..N, made once rather than on every tick.
template <int N>
std::array<QString, N> elementNames(const char* control) {
    std::array<QString, N> names;
    for (int i = 0; i < N; ++i) names[i] = DdeItems::element(control, i + 1);
    return names;
}

const std::array<QString, kDdeFlags>& flagValues() {
    static const auto names = elementNames<kDdeFlags>("FlagValue");
    return names;
}
const std::array<QString, kDdeBlockRegisters>& regValues() {
    static const auto names = elementNames<kDdeBlockRegisters>("RegValue");
    return names;
}
const std::array<QString, kDdeFreeEntries>& blockAddresses() {
    static const auto names = elementNames<kDdeFreeEntries>("BlockAddress");
    return names;
}
const std::array<QString, kDdeFreeEntries>& blockReads() {
    static const auto names = elementNames<kDdeFreeEntries>("BlockRead");
    return names;
}

}  // namespace

bool DdeModel::read(PollContext& context, int32_t number, int32_t& value) {
    if (library_.ZlGetRegister(state_.connection.CommHandle, number, value) == 1) return true;
    context.readFailed();
    return false;
}

void DdeModel::refresh(PollContext& context) {
    items_.hold();
    const int32_t flag = boxValue(QStringLiteral("FlagAddress"));
    if (flag > 0) refreshFlags(context, flag);
    const int32_t number = boxValue(QStringLiteral("RegAddress"));
    int32_t value = 0;
    if (number > 0 && state_.connection.CommHandle != 0 && read(context, number, value))
        items_.set(QStringLiteral("RegRead"), QString::number(value));
    const int32_t block = boxValue(QStringLiteral("Reg50Address"));
    if (block > 0 && state_.connection.CommHandle != 0) {
        std::array<int32_t, kDdeBlockRegisters> values{};
        if (library_.ZlGetRegister50(state_.connection.CommHandle, block, values) == 1) {
            for (int i = 0; i < kDdeBlockRegisters; ++i)
                items_.set(regValues()[i], QString::number(values[i]));
        } else {
            context.readFailed();
        }
    }
    refreshFreeEntries(context);
    items_.release();
}

// The 32 flags of the word that holds `flag`, the row labels numbered from the word's first.
void DdeModel::refreshFlags(PollContext& context, int32_t flag) {
    const int32_t word = flagWordRegister(state_.connection.Counts, flag);
    int32_t bits = 0;
    if (state_.connection.CommHandle == 0 || !read(context, word, bits)) return;
    const int32_t first = word == 13005 ? 1 : kDdeFlags * (word - 13021) + 1;
    for (int row = 0; row < 4; ++row)
        items_.set(DdeItems::element("lblFlag", row),
                   QStringLiteral("Flag %1:").arg(first + 8 * row));
    const auto word32 = static_cast<uint32_t>(bits);
    for (int bit = 0; bit < kDdeFlags; ++bit)
        items_.set(flagValues()[bit], (word32 >> bit) & 1U ? QStringLiteral("1") : QStringLiteral("0"));
}

// Pending events run first; a transfer or a lost link that starts meanwhile, or between two
// entries, ends the block.
void DdeModel::refreshFreeEntries(PollContext& context) {
    if (context.pump) context.pump();
    for (int i = 1; i <= kDdeFreeEntries; ++i) {
        if (!context.linkUsable()) return;
        const int32_t number = boxValue(blockAddresses()[i - 1]);
        int32_t value = 0;
        if (number > 0 && read(context, number, value))
            items_.set(blockReads()[i - 1], QString::number(value));
    }
}

}  // namespace zel
