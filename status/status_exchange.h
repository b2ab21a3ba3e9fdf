// The preferred fetch: the raw status packet exchange.
#pragma once

#include "common/app_state.h"
#include "status/pump_check.h"
#include "status/status_record.h"
#include "link/zel_library.h"

namespace zel::status {

// The kind ZlSendData is called with for raw packets.
inline constexpr int32_t kRawPacketKind = 20;

// Header and tasks 0..7, then every later group that some key refers to. False when the first
// exchange pair fails (the caller then reads task banks); a later group that fails is skipped.
// Stops early, still true, when `pumpCheck` says so.
bool NewStatusPacket(ZelLibrary& library, const AppState& state, StatusRecord& record,
                     const PumpCheck& pumpCheck);

}  // namespace zel::status
