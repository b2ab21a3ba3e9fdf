// Settings profiles for a monitor run against the simulator: the first-run profile with the
// link pointed at zelsim on TCP loopback or at a serial port. The end-to-end tests and the
// benchmarks write them before they start a monitor.
#pragma once

#include "common/connection_settings.h"
#include "tests/support/settings_file.h"

namespace zel::test {

inline void writeSimulatorProfile(const QString& path, int timeoutMs) {
    setSettings(path, QStringLiteral("Communications"),
                {{"COMM Port", kCommTcp}, {"IP Address", "127.0.0.1"}, {"Timeout", timeoutMs}});
}

// Serial port `port` (1-based) is the device $ZELCOM_COMM<port> names.
inline void writeSerialProfile(const QString& path, int port, int timeoutMs) {
    setSettings(path, QStringLiteral("Communications"),
                {{"COMM Port", kCommFirstSerial + port - 1}, {"IP Address", QString()},
                 {"Timeout", timeoutMs}});
}

}  // namespace zel::test
