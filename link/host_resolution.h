// Turning the controller address the user typed into the dotted IPv4 address the library gets.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "common/connection_settings.h"

namespace zel {

// True for a dotted address: no dot first or last, only digits and dots, exactly three dots,
// each part 0..255 (an empty part between two dots counts as 0).
bool IsIP(const QString& text);

// The first IPv4 address of a host name as dotted text; empty when the name does not resolve.
// (The platform needs no socket service started first, so there is no socket failure to show.)
QString ResolveHostName(const QString& hostName);

// Four address bytes in network order as "a.b.c.d".
QString AddressToText(const std::array<uint8_t, 4>& bytes);

// A dotted address as the 32-bit number (network byte order) the open calls take; nothing for
// text that is no address.
std::optional<int32_t> dottedToAddress(const QString& dotted);

// ControllerHost loses its surrounding blanks; ControllerIP becomes it when it is an address,
// else the resolved address (empty when that fails); HostIsIP says which.
void resolveControllerHost(ConnectionSettings& settings);

}  // namespace zel
