// How the monitor reaches its controller. Loaded from and saved to the Communications settings
// section by the main window, edited by the setup dialog, read by the connection manager.
#pragma once

#include <QString>
#include <cstdint>

namespace zel {

// CommType values: 0 ZelNET, 1 UDP, 2 TCP/IP, 3..18 serial ports 1..16.
inline constexpr int32_t kCommZelNet = 0;
inline constexpr int32_t kCommUdp = 1;
inline constexpr int32_t kCommTcp = 2;
inline constexpr int32_t kCommFirstSerial = 3;
inline constexpr int32_t kCommLastSerial = 18;

inline bool isSerialCommType(int32_t commType) {
    return commType >= kCommFirstSerial && commType <= kCommLastSerial;
}

// Serial port number (1-based) of a serial CommType.
inline int32_t serialPortOf(int32_t commType) {
    return commType - 2;
}

struct ConnectionSettings {
    int32_t CommType = 0;
    int32_t BaudRate = 0;
    int32_t HostNode = 0;
    int32_t TargetNode = 0;
    int32_t AdapterIndex = 0;
    QString ControllerHost{};  // as typed by the user
    QString ControllerIP{};    // dotted IPv4 address actually used
    bool HostIsIP = false;    // ControllerHost was already a dotted address
    int32_t CommTimeout = 0;  // milliseconds
    bool AutoBaudSearch = false;
    // Read every register on its own, for a controller that refuses or mishandles block reads.
    bool ReadsOneByOne = false;

    bool operator==(const ConnectionSettings&) const = default;
};

}  // namespace zel
