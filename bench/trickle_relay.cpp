#include "trickle_relay.h"

#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "loopback.h"

namespace zel::bench {
namespace {

// How often a waiting relay looks whether it is to stop.
constexpr int kStopCheckMs = 20;

void noDelay(int fd) {
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

bool sendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

TrickleRelay::TrickleRelay(uint16_t serverPort, std::chrono::microseconds pause)
    : serverPort_(serverPort), pause_(pause) {
    listener_ = boundLoopbackSocket(SOCK_STREAM | SOCK_CLOEXEC, port_);
    if (::listen(listener_, 4) != 0) throw std::runtime_error("trickle relay: cannot listen");
    thread_ = std::thread([this] { run(); });
}

TrickleRelay::~TrickleRelay() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

void TrickleRelay::run() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, kStopCheckMs) <= 0) continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in sa = loopback(serverPort_);
        if (server >= 0 &&
            ::connect(server, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) {
            noDelay(client);
            noDelay(server);
            relay(client, server);
        }
        if (server >= 0) ::close(server);
        ::close(client);
    }
}

// Until either side closes or the relay stops.
void TrickleRelay::relay(int client, int server) {
    char buffer[4096];
    while (!stop_) {
        pollfd p[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        if (::poll(p, 2, kStopCheckMs) <= 0) continue;
        if (p[0].revents) {
            const ssize_t n = ::read(client, buffer, sizeof buffer);
            if (n <= 0 || !sendAll(server, buffer, static_cast<size_t>(n))) return;
        }
        if (p[1].revents) {
            const ssize_t n = ::read(server, buffer, sizeof buffer);
            if (n <= 0) return;
            for (ssize_t i = 0; i < n && !stop_; ++i) {
                if (!sendAll(client, buffer + i, 1)) return;
                std::this_thread::sleep_for(pause_);
            }
        }
    }
}

}  // namespace zel::bench
