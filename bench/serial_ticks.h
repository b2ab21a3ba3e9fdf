// The polling tick on a serial line at its real speed: the simulator paces every byte at the
// line's rate, so a tick takes what it takes on a cable.
#pragma once

#include <QString>

namespace zel::bench {

// Every window open on a pseudo-terminal at `baud`: a tick with merged reads against the bytes
// it put on the wire, and against the same windows read one by one. False when the monitor could
// not reach the simulator.
bool benchSerialTicks(const QString& dir, int baud);

}  // namespace zel::bench
