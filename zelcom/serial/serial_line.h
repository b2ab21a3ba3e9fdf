// Raw serial lines with termios: opening a port by number and setting its line parameters.
// Shared by the communication library and the monitor's firmware wake-up, so both map port
// numbers to devices by the same rule.
#pragma once

#include <string>

namespace zel::serial {

// Port n is the device named by $ZELCOM_COMM<n>, else /dev/ttyS<n-1>.
std::string devicePathForPort(int port);

struct OpenResult {
    int fd = -1;        // non-blocking, close-on-exec, raw mode; -1 on failure
    std::string error;  // "<device>: <reason>" when fd is -1
};
OpenResult openRawLine(const std::string& device);

// Standard rates only; false for a rate the line cannot take (the termios speed table has no
// entry for it) or when the driver refuses the setting.
bool setLineSpeed(int fd, int baud);

// parity: 0 none, 1 odd, 2 even; dataBits 5..8; stopBitsCode: 0 one stop bit, 2 two.
bool setLineFormat(int fd, int parity, int dataBits, int stopBitsCode);

}  // namespace zel::serial
