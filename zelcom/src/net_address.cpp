#include "net_address.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "zelcom.h"

namespace zel::com {
namespace {

std::atomic<int> adapterIndex{0};

}  // namespace

Status portFromEnvironment(const char* variable, uint16_t fallback, uint16_t& port) {
    const char* text = std::getenv(variable);
    if (!text || !*text) {
        port = fallback;
        return Status::success();
    }
    unsigned value = 0;
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec != std::errc{} || ptr != end || value == 0 || value > 65535)
        return failure(ZL_ERR_BAD_ARGUMENT, std::string(variable) + "=" + text + " is not a port");
    port = static_cast<uint16_t>(value);
    return Status::success();
}

std::vector<Adapter> listAdapters() {
    std::vector<Adapter> adapters;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return adapters;
    for (ifaddrs* it = list; it; it = it->ifa_next) {
        if (!it->ifa_addr || it->ifa_addr->sa_family != AF_INET || !(it->ifa_flags & IFF_UP))
            continue;
        Adapter a;
        a.name = it->ifa_name;
        a.address = reinterpret_cast<const sockaddr_in*>(it->ifa_addr)->sin_addr;
        if (it->ifa_netmask)
            a.netmask = reinterpret_cast<const sockaddr_in*>(it->ifa_netmask)->sin_addr;
        if ((it->ifa_flags & IFF_BROADCAST) && it->ifa_broadaddr)
            a.broadcast = reinterpret_cast<const sockaddr_in*>(it->ifa_broadaddr)->sin_addr;
        adapters.push_back(a);
    }
    ::freeifaddrs(list);
    return adapters;
}

void selectAdapter(int index) { adapterIndex = index; }
int selectedAdapter() { return adapterIndex; }

sockaddr_in socketAddress(in_addr address, uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr = address;
    sa.sin_port = htons(port);
    return sa;
}

}  // namespace zel::com
