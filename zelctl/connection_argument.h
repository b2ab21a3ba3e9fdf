// The connection named on the command line, as the settings the connection manager opens.
#pragma once

#include <QString>
#include <optional>

#include "common/connection_settings.h"

namespace zel::ctl {

inline constexpr int kDefaultSerialBaud = 9600;

// "tcp:HOST", "udp:HOST", "serial:N[@BAUD]" (N 1..16) or "zelnet:OWN:NODE" (1..32767). A host
// name is resolved here. Empty, with `error` saying why, for anything else.
std::optional<ConnectionSettings> parseConnectionArgument(const QString& text, QString& error);

}  // namespace zel::ctl
