#include "common/packet_checksum.h"

#include <cstdint>

namespace zel {

QByteArray AppendPacketChecksum(const QByteArray& packet) {
    uint16_t sum = 0;
    for (qsizetype i = 2; i < packet.size(); ++i) sum += static_cast<uint8_t>(packet[i]);
    QByteArray framed = packet;
    framed.append(static_cast<char>(255 - (sum & 0xFF)));
    framed.append(static_cast<char>(255));
    return framed;
}

}  // namespace zel
