// Sockets on the loopback address, for the benchmarks' own peers.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <stdexcept>

namespace zel::bench {

inline sockaddr_in loopback(uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = htons(port);
    return sa;
}

// A socket of `type` bound to a free port on loopback, which is set to that port.
inline int boundLoopbackSocket(int type, uint16_t& port) {
    const int fd = ::socket(AF_INET, type, 0);
    sockaddr_in sa = loopback(0);
    socklen_t len = sizeof sa;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        throw std::runtime_error("cannot bind a socket on loopback");
    port = ntohs(sa.sin_port);
    return fd;
}

}  // namespace zel::bench
