// The monitor's decoding of raw status replies: the header reply and the task group reply,
// for any bytes and any group offset.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "status/status_packet.h"

using namespace zel::status;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int32_t offset = data[0];
    const QByteArray reply(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    parseStatusReply(reply);
    parseTaskGroupReply(reply, offset);
    return 0;
}
