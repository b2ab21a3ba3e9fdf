// The run state line of the step status window.
#pragma once

#include <QString>

#include "status/status_record.h"

namespace zel::status {

// A controller program cannot be shown as a tree after this fault code.
inline constexpr int32_t kCorruptProgramFault = 2;

// "Controller Running" or "Controller Stopped"; with a fault, "Controller Software Faulted in
// Step " and the one-based step, "! " and the fault's text.
QString runStateText(const StatusRecord& record);

}  // namespace zel::status
