// Ports and network adapters: where TCP, UDP and ZelNET traffic goes.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "status.h"

namespace zel::com {

// The port named by the environment variable, else the fallback. A variable that is set but
// not a port number 1..65535 is an error, so a typo does not silently reach the default port.
Status portFromEnvironment(const char* variable, uint16_t fallback, uint16_t& port);

struct Adapter {
    std::string name;
    in_addr address{};
    in_addr netmask{};
    std::optional<in_addr> broadcast;  // absent on point-to-point and loopback interfaces
};

// This machine's IPv4 interfaces in the order the system lists them.
std::vector<Adapter> listAdapters();

// The adapter ZelNET connections use: a 1-based index into listAdapters(); 0 until one is set,
// meaning the first adapter.
void selectAdapter(int index);
int selectedAdapter();

sockaddr_in socketAddress(in_addr address, uint16_t port);

}  // namespace zel::com
