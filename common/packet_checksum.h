// Framing of raw controller packets.
#pragma once

#include <QByteArray>

namespace zel {

// Sums the byte values from the third byte to the end (16-bit sum), then appends 255 minus the
// low byte of that sum and a terminating 255.
QByteArray AppendPacketChecksum(const QByteArray& packet);

}  // namespace zel
