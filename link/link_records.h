// The records that cross the library interface, in the monitor's own terms. The library's own
// layouts stay inside link/, which converts at the boundary.
#pragma once

#include <array>
#include <cstdint>

namespace zel {

// The ways the open calls reach a controller; the values are the library's kind numbers.
enum class LinkKind : int32_t { Serial = 1, ZelNet = 2, Udp = 3, Tcp = 4 };

// The most network adapters the library lists.
inline constexpr int kMaxAdapters = 50;
using AdapterList = std::array<int32_t, kMaxAdapters>;

// A V-register: its number and its double-precision value. The record's fixed kind and format
// are filled in by the library wrapper.
struct VRegister {
    int32_t number = 0;
    double value = 0.0;
};

// One bank of eight tasks. steps are 1-based step numbers, 65536 for a task not executing;
// bit n of lowKeys names task n + 1 and bit n of highKeys task n + 33 as started by the task.
struct TaskBank {
    int32_t stopped = 0;
    int32_t faultCode = 0;
    int32_t faultStep = 0;
    int32_t faultDatum = 0;
    std::array<int32_t, 8> steps{};
    std::array<int32_t, 8> lowKeys{};
    std::array<int32_t, 8> highKeys{};
};

// What a program download or upload reports: the controller's program checksum, the bytes
// moved, and the errors and warnings the controller found.
struct TransferResult {
    int32_t checksum = 0;
    int32_t bytes = 0;
    int32_t errors = 0;
    int32_t warnings = 0;
};

}  // namespace zel
