// The names under which the monitor serves its DDE topics on the D-Bus session bus
// (docs/dbus.md). A second monitor on the same desktop takes the next free numbered name.
#pragma once

#include <QString>

namespace zel::bus {

inline constexpr char kServiceName[] = "org.zel.Monitor";
inline constexpr int kMaxInstances = 16;  // org.zel.Monitor, org.zel.Monitor2 .. 16

inline constexpr char kMainPath[] = "/org/zel/Monitor/Main";
inline constexpr char kMainInterface[] = "org.zel.Monitor.Main";
inline constexpr char kDdePath[] = "/org/zel/Monitor/DDEsetup";
inline constexpr char kDdeInterface[] = "org.zel.Monitor.DdeSetup";

inline constexpr char kUnknownCommand[] = "org.zel.Monitor.Error.UnknownCommand";
inline constexpr char kUnknownItem[] = "org.zel.Monitor.Error.UnknownItem";
inline constexpr char kReadOnly[] = "org.zel.Monitor.Error.ReadOnly";
inline constexpr char kInvalidValue[] = "org.zel.Monitor.Error.InvalidValue";
inline constexpr char kUnavailable[] = "org.zel.Monitor.Error.Unavailable";

// The bus name of the n-th monitor on the desktop, counting from 1.
inline QString instanceName(int n) {
    return n == 1 ? QString::fromLatin1(kServiceName)
                  : QString::fromLatin1(kServiceName) + QString::number(n);
}

}  // namespace zel::bus
