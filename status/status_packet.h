// Raw status packets exchanged through ZlSendData: the two requests, the validity tests of a
// reply and the fields of each reply.
//
// Request: 1, length (bytes after it), command, arguments, checksum, 255.
// Reply (1-based byte positions): L - 1 at 1, reply code at 2, fields, at L - 1 the inverted low
// byte of the sum of bytes 2..L-2, at L 255.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>

#include "status/status_record.h"

namespace zel::status {

inline constexpr uint8_t kStatusCommand = 35;
inline constexpr uint8_t kStatusReply = 45;
inline constexpr uint8_t kTaskGroupCommand = 107;
inline constexpr uint8_t kTaskGroupReply = 108;

struct StatusHeader {
    int32_t stopped = 0;
    int32_t faultCode = 0;
    int32_t faultStep = 0;
    int32_t faultDatum = 0;
};

struct TaskRecord {
    int32_t step = 0;  // 1-based; kTaskNotExecuted when the task does not run
    int32_t state = 0;
    TaskKey keys{};
};

struct TaskGroup {
    int32_t total = 0;  // tasks the controller reports
    int32_t offset = 0;
    std::array<TaskRecord, kTasksPerGroup> records{};
};

QByteArray statusRequest();
// Whether a raw request only reads the controller: the status and task group requests, which
// leave its registers as they were.
bool onlyReads(const QByteArray& request);
// `fresh` asks the controller for a new snapshot of its task table; the later groups of one
// tick read the same snapshot.
QByteArray taskGroupRequest(int32_t offset, bool fresh);

// The fields of a valid reply, or nothing when any validity test fails.
std::optional<StatusHeader> parseStatusReply(const QByteArray& reply);
std::optional<TaskGroup> parseTaskGroupReply(const QByteArray& reply, int32_t offset);

}  // namespace zel::status
