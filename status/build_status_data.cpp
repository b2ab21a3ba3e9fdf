#include "status/build_status_data.h"

#include <algorithm>

namespace zel::status {
namespace {

// 1-based position of the highest non-zero byte of the key, 0 when the key is empty. Byte p
// stands for tasks 8 (p - 1) + 1 .. 8 p.
int highestKeyByte(const TaskKey& key) {
    for (int p = kKeyWords * 4; p >= 1; --p) {
        const int bit = 8 * (p - 1);
        if ((key[static_cast<size_t>(bit / 32)] >> (bit % 32)) & 0xFF) return p;
    }
    return 0;
}

void copyHeader(StatusRecord& record, int32_t stopped, int32_t code, int32_t step, int32_t datum) {
    record.RunStopped = stopped;
    record.FaultCode = code;
    record.FaultStep = step;
    record.FaultDatum = datum;
}

}  // namespace

void BuildStatusData2(StatusRecord& record, const StatusHeader& header, const TaskGroup& group) {
    if (group.offset == 0) {
        copyHeader(record, header.stopped, header.faultCode, header.faultStep, header.faultDatum);
        record.TaskTotal = group.total;
    }
    for (int i = 0; i < kTasksPerGroup; ++i) {
        const int task = group.offset + i;
        if (task >= kTaskSlots) break;
        const TaskRecord& source = group.records[static_cast<size_t>(i)];
        const auto t = static_cast<size_t>(task);
        record.TaskStep[t] = source.step;
        record.TaskKeys[t] = source.state != 0 ? source.keys : TaskKey{};
        // Byte p names tasks up to 8 p, and group p (offset 8 p) holds task 8 p.
        record.HighestReferencedTask =
            std::max(record.HighestReferencedTask, 8 * highestKeyByte(record.TaskKeys[t]));
    }
}

void BuildStatusData(StatusRecord& record, const TaskBank& contents, int32_t bank) {
    if (bank == 1) {
        copyHeader(record, contents.stopped, contents.faultCode, contents.faultStep,
                   contents.faultDatum);
    }
    for (int i = 0; i < kTasksPerGroup; ++i) {
        const int task = (bank - 1) * kTasksPerGroup + i;
        if (task < 0 || task >= kTaskSlots) continue;
        const auto t = static_cast<size_t>(task);
        record.TaskStep[t] = contents.steps[i];
        // A bank knows tasks 1..64 only: the words beyond say nothing on this path.
        record.TaskKeys[t] = TaskKey{static_cast<uint32_t>(contents.lowKeys[i]),
                                     static_cast<uint32_t>(contents.highKeys[i])};
        // Byte p names tasks up to 8 p, which bank p + 1 holds.
        const int byte = highestKeyByte(record.TaskKeys[t]);
        if (byte > 0)
            record.HighestReferencedBank = std::max(record.HighestReferencedBank, byte + 1);
    }
}

}  // namespace zel::status
