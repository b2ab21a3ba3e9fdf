#include "resources/row_polling.h"

namespace zel {

int pollRows(PollContext& context, const PollBlock& block, int count,
             const std::function<void(int)>& readRow) {
    for (int r = 0; r < count; ++r) {
        readRow(r);
        if (r % 4 != 3) continue;
        context.pump();
        if (!block.isOpen() || !context.linkUsable()) return r + 1;
    }
    return count;
}

std::optional<int32_t> readRegister(PollContext& context, int32_t number) {
    int32_t value = 0;
    if (context.library.ZlGetRegister(context.state.connection.CommHandle, number, value) != 1)
        return std::nullopt;
    return value;
}

}  // namespace zel
