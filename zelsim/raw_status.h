// Raw status packets carried by SendData: the run state and fault (command 35) and the task
// table in groups of eight (command 107).
//
// Request: 1, length (bytes after it), command, arguments, checksum, 255; the checksum is 255
// minus the low byte of the sum of command and arguments.
// Reply: length L - 1, reply code, fields, checksum, 255; the checksum is the low byte of the
// sum of bytes 2..L-2 (1-based) with all bits inverted.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "controller.h"
#include "result.h"

namespace zel::sim {

inline constexpr uint8_t kRawStatusCommand = 35;
inline constexpr uint8_t kRawStatusReply = 45;
inline constexpr uint8_t kRawTasksCommand = 107;
inline constexpr uint8_t kRawTasksReply = 108;

class RawStatusResponder {
public:
    // The reply to one raw request, or ZL_ERR_BAD_PACKET / ZL_ERR_UNKNOWN_REQUEST.
    Result<std::vector<uint8_t>> answer(std::span<const uint8_t> request,
                                        const Controller& controller);

private:
    struct TaskRecord {
        uint16_t rawStep = 0xFFFF;
        uint8_t state = 0;
        std::array<uint32_t, kKeyWords> keys{};
    };

    std::vector<uint8_t> statusReply(const Controller& controller) const;
    std::vector<uint8_t> tasksReply(uint8_t offset) const;
    void takeSnapshot(const Controller& controller);

    // A task table read starts with flag 1, which takes a fresh copy; the groups that follow
    // (flag 0) come from that copy, so a tree never mixes two moments.
    std::vector<TaskRecord> snapshot_;
};

}  // namespace zel::sim
