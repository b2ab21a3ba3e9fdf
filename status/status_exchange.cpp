#include "status/status_exchange.h"

#include "status/build_status_data.h"
#include "status/status_packet.h"

namespace zel::status {
namespace {

bool exchange(ZelLibrary& library, const AppState& state, const QByteArray& request,
              QByteArray& reply) {
    const auto length = static_cast<int16_t>(request.size());
    return library.ZlSendData(state.connection.CommHandle, kRawPacketKind, request, length,
                              reply) == 1;
}

std::optional<TaskGroup> fetchGroup(ZelLibrary& library, const AppState& state, int32_t offset) {
    QByteArray reply;
    if (!exchange(library, state, taskGroupRequest(offset, offset == 0), reply)) return {};
    return parseTaskGroupReply(reply, offset);
}

std::optional<StatusHeader> fetchHeader(ZelLibrary& library, const AppState& state) {
    QByteArray reply;
    if (!exchange(library, state, statusRequest(), reply)) return {};
    return parseStatusReply(reply);
}

}  // namespace

bool NewStatusPacket(ZelLibrary& library, const AppState& state, StatusRecord& record,
                     const PumpCheck& pumpCheck) {
    const std::optional<StatusHeader> header = fetchHeader(library, state);
    if (!header) return false;
    const std::optional<TaskGroup> first = fetchGroup(library, state, 0);
    if (!first) return false;
    BuildStatusData2(record, *header, *first);
    const int32_t lastGroup = (record.TaskTotal - 1) / kTasksPerGroup;
    for (int32_t g = 1; g <= lastGroup; ++g) {
        if (g % 2 == 0 && !pumpCheck()) break;
        const int32_t offset = g * kTasksPerGroup;
        if (offset > record.HighestReferencedTask) continue;
        if (const std::optional<TaskGroup> group = fetchGroup(library, state, offset))
            BuildStatusData2(record, *header, *group);
    }
    return true;
}

}  // namespace zel::status
