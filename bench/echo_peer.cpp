#include "echo_peer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "loopback.h"

namespace zel::bench {
namespace {

[[noreturn]] void echoForever(int fd, bool datagram) {
    char buf[4096];
    for (;;) {
        sockaddr_in from{};
        socklen_t len = sizeof from;
        const ssize_t n = datagram ? ::recvfrom(fd, buf, sizeof buf, 0,
                                                reinterpret_cast<sockaddr*>(&from), &len)
                                   : ::read(fd, buf, sizeof buf);
        if (n <= 0) ::_exit(0);
        const ssize_t w = datagram ? ::sendto(fd, buf, static_cast<size_t>(n), 0,
                                              reinterpret_cast<sockaddr*>(&from), len)
                                   : ::write(fd, buf, static_cast<size_t>(n));
        if (w != n) ::_exit(0);
    }
}

}  // namespace

EchoPeer::EchoPeer(Kind kind) {
    uint16_t port = 0;
    int serverFd = -1;
    if (kind == Kind::Pty) {
        serverFd = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (serverFd < 0 || ::grantpt(serverFd) != 0 || ::unlockpt(serverFd) != 0)
            throw std::runtime_error("echo peer: no pseudo-terminal");
        fd_ = ::open(::ptsname(serverFd), O_RDWR | O_NOCTTY);
        termios tio{};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    } else {
        serverFd = boundLoopbackSocket(kind == Kind::Tcp ? SOCK_STREAM : SOCK_DGRAM, port);
        if (kind == Kind::Tcp) ::listen(serverFd, 1);
    }
    child_ = ::fork();
    if (child_ == 0) {
        if (kind == Kind::Tcp) {
            const int c = ::accept(serverFd, nullptr, nullptr);
            const int one = 1;
            ::setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            echoForever(c, false);
        }
        echoForever(serverFd, kind == Kind::Udp);
    }
    if (kind != Kind::Pty) {
        ::close(serverFd);
        fd_ = ::socket(AF_INET, kind == Kind::Tcp ? SOCK_STREAM : SOCK_DGRAM, 0);
        const sockaddr_in sa = loopback(port);
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0)
            throw std::runtime_error("echo peer: cannot connect");
        const int one = 1;
        if (kind == Kind::Tcp) ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    } else {
        ::close(serverFd);  // the child holds the master
    }
}

EchoPeer::~EchoPeer() {
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
    ::close(fd_);
}

void EchoPeer::ping(size_t size) {
    std::vector<char> out(size, 'x'), in(size);
    if (::write(fd_, out.data(), size) != static_cast<ssize_t>(size))
        throw std::runtime_error("echo peer: write failed");
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd_, in.data() + got, size - got);
        if (n <= 0) throw std::runtime_error("echo peer: read failed");
        got += static_cast<size_t>(n);
    }
}

}  // namespace zel::bench
