#include "status/status_packet.h"

#include "common/packet_checksum.h"

namespace zel::status {
namespace {

constexpr int kStatusReplyMinimum = 12;

int byteAt(const QByteArray& bytes, int position) {
    return static_cast<uint8_t>(bytes[position - 1]);
}

// The reply's length L when its framing holds: L fits the buffer and the minimum, the code is
// the one expected, byte L is 255 and byte L - 1 checks bytes 2..L-2.
std::optional<int> framedLength(const QByteArray& reply, uint8_t code, int minimum) {
    if (reply.isEmpty()) return std::nullopt;
    const int length = byteAt(reply, 1) + 1;
    if (length > reply.size() || length < minimum || length < 4) return std::nullopt;
    if (byteAt(reply, 2) != code || byteAt(reply, length) != 255) return std::nullopt;
    uint8_t sum = 0;
    for (int i = 2; i <= length - 2; ++i) sum = static_cast<uint8_t>(sum + byteAt(reply, i));
    if ((sum ^ 0xFF) != byteAt(reply, length - 1)) return std::nullopt;
    return length;
}

// Key bytes packed four to a word, low byte first; bytes past the stored words are dropped.
TaskKey keyFromBytes(const QByteArray& reply, int first, int count) {
    TaskKey key{};
    for (int k = 0; k < count && k / 4 < kKeyWords; ++k)
        key[k / 4] |= static_cast<uint32_t>(byteAt(reply, first + k)) << (8 * (k % 4));
    return key;
}

}  // namespace

QByteArray statusRequest() {
    return AppendPacketChecksum(QByteArray("\x01\x04", 2) + char(kStatusCommand) + char(255));
}

bool onlyReads(const QByteArray& request) {
    if (request.size() < 3) return false;
    const auto command = static_cast<uint8_t>(request[2]);
    return command == kStatusCommand || command == kTaskGroupCommand;
}

QByteArray taskGroupRequest(int32_t offset, bool fresh) {
    QByteArray packet("\x01\x05", 2);
    packet += char(kTaskGroupCommand);
    packet += char(offset);
    packet += char(fresh ? 1 : 0);
    return AppendPacketChecksum(packet);
}

std::optional<StatusHeader> parseStatusReply(const QByteArray& reply) {
    if (!framedLength(reply, kStatusReply, kStatusReplyMinimum)) return std::nullopt;
    StatusHeader header;
    header.stopped = byteAt(reply, 3);
    header.faultCode = byteAt(reply, 4);
    header.faultStep = byteAt(reply, 5) | (byteAt(reply, 6) << 8);
    uint32_t datum = 0;
    for (int i = 0; i < 4; ++i) datum |= static_cast<uint32_t>(byteAt(reply, 7 + i)) << (8 * i);
    header.faultDatum = static_cast<int32_t>(datum);
    return header;
}

std::optional<TaskGroup> parseTaskGroupReply(const QByteArray& reply, int32_t offset) {
    if (reply.size() < 4) return std::nullopt;
    const int total = byteAt(reply, 3);
    const int keyBytes = (total - 1) / 8 + 1;
    const int recordSize = keyBytes + 3;
    if (!framedLength(reply, kTaskGroupReply, kTasksPerGroup * recordSize + 6)) return std::nullopt;
    if (byteAt(reply, 4) != offset) return std::nullopt;
    TaskGroup group;
    group.total = total;
    group.offset = offset;
    for (int i = 0; i < kTasksPerGroup; ++i) {
        const int start = 5 + i * recordSize;
        TaskRecord& record = group.records[static_cast<size_t>(i)];
        record.step = (byteAt(reply, start) | (byteAt(reply, start + 1) << 8)) + 1;
        record.state = byteAt(reply, start + 2);
        record.keys = keyFromBytes(reply, start + 3, keyBytes);
    }
    return group;
}

}  // namespace zel::status
