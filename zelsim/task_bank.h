// The older per-bank view of the task table: eight tasks with run state and fault in front.
#pragma once

#include <array>
#include <cstdint>

#include "controller.h"
#include "protocol.h"
#include "result.h"

namespace zel::sim {

using TaskBankWords = std::array<int32_t, codec::kTaskBankWords>;

// Bank 1..16 holds tasks 8(bank-1) .. +7; 65..80 name the same banks. Laid out as ZlTaskBank:
// stopped, fault code, fault step, fault datum, 8 steps (1-based, 65536 = not executed),
// 8 key words for tasks 1..32, 8 for tasks 33..64.
Result<TaskBankWords> taskBank(const Controller& controller, int bank);

}  // namespace zel::sim
