// The older fetch, taken when the packet exchange fails: eight tasks per ZlGetTaskBank.
#pragma once

#include "link/poll_block.h"
#include "status/pump_check.h"
#include "status/status_record.h"

namespace zel::status {

// Controllers from this model code on number their banks 65..72 and always report 64 tasks here.
inline constexpr int32_t kBankNumberingModel = 10;
inline constexpr int32_t kBankNumberBase = 64;

// Reads banks 1 .. task total / 8 that do not lie above the highest referenced bank. A failed
// read ends the tick: throws PollingError. Stops early when `pumpCheck` says so.
void readTaskBanks(PollContext& context, StatusRecord& record, const PumpCheck& pumpCheck);

}  // namespace zel::status
