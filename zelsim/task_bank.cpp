#include "task_bank.h"

namespace zel::sim {

Result<TaskBankWords> taskBank(const Controller& c, int bank) {
    if (bank >= 65 && bank <= 80) bank -= 64;
    if (bank < 1 || bank > 16) return failure<TaskBankWords>(ZL_ERR_BAD_ARGUMENT);
    const int first = 8 * (bank - 1);
    if (first >= c.taskCount()) return failure<TaskBankWords>(ZL_ERR_NOT_PRESENT);
    TaskBankWords w{};
    w[0] = c.running() ? 0 : 1;
    w[1] = c.fault().code;
    w[2] = c.fault().step;
    w[3] = c.fault().datum;
    for (int i = 0; i < 8; ++i) {
        const Task& t = c.task(first + i);
        w[static_cast<size_t>(4 + i)] = t.step == 0 ? 65536 : t.step;
        w[static_cast<size_t>(12 + i)] = static_cast<int32_t>(t.keys[0]);
        w[static_cast<size_t>(20 + i)] = static_cast<int32_t>(t.keys[1]);
    }
    return success(w);
}

}  // namespace zel::sim
