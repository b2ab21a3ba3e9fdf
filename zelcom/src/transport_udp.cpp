#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "fd_transport.h"
#include "net_address.h"
#include "protocol.h"
#include "transports.h"
#include "zelcom.h"

namespace zel::com {

// A connected UDP socket: the kernel then drops datagrams from any other sender, and an ICMP
// "port unreachable" turns into a prompt error instead of a wait for the timeout. It blocks, so
// that a read waits for the reply by itself.
Status openUdp(in_addr address, std::unique_ptr<Transport>& out) {
    uint16_t port = 0;
    if (Status s = portFromEnvironment("ZELCOM_UDP_PORT", codec::kDefaultUdpPort, port); !s.ok())
        return s;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return failure(ZL_ERR_OPEN_FAILED, std::strerror(errno));
    auto transport = std::make_unique<FdTransport>(fd, FdTransport::Kind::DatagramSocket, true);
    const sockaddr_in sa = socketAddress(address, port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0)
        return failure(ZL_ERR_OPEN_FAILED, std::strerror(errno));
    out = std::move(transport);
    return Status::success();
}

}  // namespace zel::com
