// The controller's decoded status: run state, software fault and, per task, the step it runs and
// the tasks it started. One record lives as long as the step status window and is overwritten
// group by group on each tick.
#pragma once

#include <array>
#include <cstdint>

namespace zel::status {

inline constexpr int kTaskSlots = 225;  // tasks 0..224
inline constexpr int kKeyWords = 7;     // started-task bit sets per task: tasks 1..224
inline constexpr int kTasksPerGroup = 8;
// The stored step of a task that is not executing.
inline constexpr int32_t kTaskNotExecuted = 65536;

// Bit n of word w (0-based) stands for task 32 w + n + 1.
using TaskKey = std::array<uint32_t, kKeyWords>;

struct StatusRecord {
    int32_t RunStopped = 0;
    int32_t FaultCode = 0;
    int32_t FaultStep = 0;  // zero-based
    int32_t FaultDatum = 0;
    int32_t TaskTotal = 0;
    std::array<int32_t, kTaskSlots> TaskStep{};
    std::array<TaskKey, kTaskSlots> TaskKeys{};
    // Only raised, never lowered: groups and banks above them are not fetched. Group 0 and
    // bank 1 carry the header and are always fetched.
    int32_t HighestReferencedTask = 0;
    int32_t HighestReferencedBank = 1;
};

}  // namespace zel::status
