#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>

#include "fd_transport.h"
#include "net_address.h"
#include "transports.h"
#include "protocol.h"
#include "zelcom.h"

namespace zel::com {
namespace {

std::string describe(in_addr address, uint16_t port, int err) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return std::string(text) + ":" + std::to_string(port) + ": " + std::strerror(err);
}

// Waits for a non-blocking connect to finish; returns 0 or the errno it failed with.
int finishConnect(int fd, int timeoutMs) {
    pollfd p{fd, POLLOUT, 0};
    int n;
    do n = ::poll(&p, 1, timeoutMs);
    while (n < 0 && errno == EINTR);
    if (n == 0) return ETIMEDOUT;
    if (n < 0) return errno;
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) return errno;
    return err;
}

}  // namespace

Status openTcp(in_addr address, int timeoutMs, std::unique_ptr<Transport>& out) {
    uint16_t port = 0;
    if (Status s = portFromEnvironment("ZELCOM_TCP_PORT", codec::kDefaultTcpPort, port); !s.ok())
        return s;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return failure(ZL_ERR_OPEN_FAILED, std::strerror(errno));
    auto transport = std::make_unique<FdTransport>(fd, FdTransport::Kind::StreamSocket, true);
    // Requests are small and answered one at a time: never hold one back to coalesce.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const sockaddr_in sa = socketAddress(address, port);
    int err = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
        err = errno == EINPROGRESS ? finishConnect(fd, timeoutMs) : errno;
    }
    if (err != 0) {
        return failure(err == ETIMEDOUT ? ZL_ERR_TIMEOUT : ZL_ERR_OPEN_FAILED,
                       describe(address, port, err));
    }
    // The connect waited in a poll of its own; from now on reads wait inside themselves.
    if (::fcntl(fd, F_SETFL, 0) != 0) return failure(ZL_ERR_OPEN_FAILED, std::strerror(errno));
    out = std::move(transport);
    return Status::success();
}

}  // namespace zel::com
