#include "tcp_endpoint.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <system_error>

namespace zel::sim {

TcpEndpoint::TcpEndpoint(Poller& poller, Dispatcher& dispatcher, const std::string& address,
                         uint16_t port)
    : poller_(poller), dispatcher_(dispatcher), listener_(bindSocket(SOCK_STREAM, address, port)) {
    if (::listen(listener_.get(), SOMAXCONN) < 0)
        throw std::system_error(errno, std::generic_category(), "listen");
    port_ = boundPort(listener_.get());
    poller_.add(listener_.get(), POLLIN, [this](short) { accept(); });
}

TcpEndpoint::~TcpEndpoint() {
    poller_.remove(listener_.get());
    for (auto& [id, c] : connections_) poller_.remove(c.fd.get());
}

void TcpEndpoint::accept() {
    for (;;) {
        const int fd = ::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;  // EAGAIN, or a client that vanished before we got to it
        // Replies are small and each is awaited: send every one at once.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const uint64_t id = nextId_++;
        connections_[id].fd.reset(fd);
        poller_.add(fd, POLLIN, [this, id](short revents) { onEvent(id, revents); });
    }
}

void TcpEndpoint::onEvent(uint64_t id, short revents) {
    auto it = connections_.find(id);
    if (it == connections_.end()) return;
    Connection& c = it->second;
    bool keep = true;
    if (revents & POLLOUT) keep = flush(c);
    if (keep && (revents & (POLLIN | POLLHUP | POLLERR))) keep = readFrom(id, c);
    if (!keep) close(id);
}

bool TcpEndpoint::readFrom(uint64_t id, Connection& c) {
    uint8_t buffer[4096];
    const ssize_t n = ::recv(c.fd.get(), buffer, sizeof buffer, 0);
    if (n == 0) return false;
    if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (c.ending) return true;  // the link's budget is spent: what comes now is ignored
    c.decoder.feed({buffer, static_cast<size_t>(n)});
    while (auto frame = c.decoder.next()) {
        if (frame->type != codec::FrameType::Request) continue;
        Route route{this, id, {}, 0};
        const std::string link = dispatcher_.countsRequests() ? key(id) : std::string();
        if (dispatcher_.onRequest(*frame, route, link) == LinkVerdict::End) {
            c.ending = true;
            break;
        }
    }
    return true;
}

bool TcpEndpoint::flush(Connection& c) {
    while (!c.outgoing.empty()) {
        const ssize_t n = ::send(c.fd.get(), c.outgoing.data(), c.outgoing.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) break;
            return false;
        }
        c.outgoing.erase(c.outgoing.begin(), c.outgoing.begin() + n);
    }
    poller_.setEvents(c.fd.get(), static_cast<short>(POLLIN | (c.outgoing.empty() ? 0 : POLLOUT)));
    return !(c.closeWhenSent && c.outgoing.empty());
}

void TcpEndpoint::deliver(const Route& route, std::span<const uint8_t> bytes, bool endLink) {
    auto it = connections_.find(route.link);
    if (it == connections_.end()) return;
    Connection& c = it->second;
    c.outgoing.insert(c.outgoing.end(), bytes.begin(), bytes.end());
    c.closeWhenSent = c.closeWhenSent || endLink;
    if (!flush(c)) close(route.link);
}

void TcpEndpoint::close(uint64_t id) {
    auto it = connections_.find(id);
    if (it == connections_.end()) return;
    poller_.remove(it->second.fd.get());
    dispatcher_.forgetLink(key(id));
    connections_.erase(it);
}

}  // namespace zel::sim
