#include "udp_endpoint.h"

#include <poll.h>
#include <sys/socket.h>

namespace zel::sim {

UdpEndpoint::UdpEndpoint(Poller& poller, Dispatcher& dispatcher, const std::string& address,
                         uint16_t port, std::optional<uint16_t> node)
    : poller_(poller),
      dispatcher_(dispatcher),
      fd_(bindSocket(SOCK_DGRAM, address, port)),
      port_(boundPort(fd_.get())),
      node_(node) {
    poller_.add(fd_.get(), POLLIN, [this](short) { receive(); });
}

UdpEndpoint::~UdpEndpoint() {
    poller_.remove(fd_.get());
}

// One datagram each time the socket is ready: a client waits for each answer, so a second one
// is rarely there, and the loop's next poll finds it if it is; reading on until the socket is
// empty would cost every request a read that finds nothing.
void UdpEndpoint::receive() {
    uint8_t buffer[codec::kMaxFrame + 1];
    Route route{this, 0, {}, sizeof(sockaddr_storage)};
    const ssize_t n = ::recvfrom(fd_.get(), buffer, sizeof buffer, 0,
                                 reinterpret_cast<sockaddr*>(&route.peer), &route.peerLength);
    if (n < 0) return;
    const auto frame = codec::decodeDatagram({buffer, static_cast<size_t>(n)});
    if (!frame || frame->type != codec::FrameType::Request) return;
    if (node_ && frame->target_node != *node_) return;
    const std::string key = dispatcher_.countsRequests()
                                ? (node_ ? "zelnet " : "udp ") + peerText(route.peer)
                                : std::string();
    dispatcher_.onRequest(*frame, route, key);
}

void UdpEndpoint::deliver(const Route& route, std::span<const uint8_t> bytes, bool) {
    if (bytes.empty()) return;
    ::sendto(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL,
             reinterpret_cast<const sockaddr*>(&route.peer), route.peerLength);
}

}  // namespace zel::sim
