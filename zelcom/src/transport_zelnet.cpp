#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "fd_transport.h"
#include "net_address.h"
#include "protocol.h"
#include "transports.h"
#include "zelcom.h"

namespace zel::com {
namespace {

// ZelNET node n listens on UDP port base + n. Requests leave through the chosen adapter and go
// to its broadcast address (the loopback adapter has none, so to its own address); the node
// number in every frame tells the controllers on one network apart.
class ZelnetTransport : public FdTransport {
public:
    ZelnetTransport(int fd, sockaddr_in destination, uint16_t own, uint16_t target)
        : FdTransport(fd, Kind::DatagramSocket), destination_(destination), own_(own),
          target_(target) {}

    ssize_t writeSome(std::span<const uint8_t> bytes, Status& status) override {
        const ssize_t n = ::sendto(fd(), bytes.data(), bytes.size(), MSG_NOSIGNAL,
                                   reinterpret_cast<const sockaddr*>(&destination_),
                                   sizeof destination_);
        if (n >= 0) return n;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        status = failure(ZL_ERR_SEND_FAILED, std::strerror(errno));
        return -1;
    }
    uint16_t ownNode() const override { return own_; }
    uint16_t targetNode() const override { return target_; }

private:
    sockaddr_in destination_;
    uint16_t own_;
    uint16_t target_;
};

Status chosenAdapter(Adapter& adapter) {
    const std::vector<Adapter> adapters = listAdapters();
    const int index = selectedAdapter() == 0 ? 1 : selectedAdapter();
    if (index < 1 || index > static_cast<int>(adapters.size()))
        return failure(ZL_ERR_NO_ADAPTER, "adapter " + std::to_string(index) + " of " +
                                              std::to_string(adapters.size()));
    adapter = adapters[static_cast<size_t>(index - 1)];
    return Status::success();
}

}  // namespace

Status openZelnet(int ownNode, int targetNode, std::unique_ptr<Transport>& out) {
    if (ownNode < 1 || ownNode > 32767 || targetNode < 1 || targetNode > 32767)
        return failure(ZL_ERR_BAD_ARGUMENT, "node numbers are 1..32767");
    uint16_t base = 0;
    if (Status s = portFromEnvironment("ZELCOM_ZELNET_PORT", codec::kDefaultZelnetBase, base); !s.ok())
        return s;
    if (base + targetNode > 65535) return failure(ZL_ERR_BAD_ARGUMENT, "node port beyond 65535");
    Adapter adapter;
    if (Status s = chosenAdapter(adapter); !s.ok()) return s;

    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return failure(ZL_ERR_OPEN_FAILED, std::strerror(errno));
    const sockaddr_in destination = socketAddress(adapter.broadcast.value_or(adapter.address),
                                                  static_cast<uint16_t>(base + targetNode));
    auto transport = std::make_unique<ZelnetTransport>(fd, destination, ownNode, targetNode);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    const sockaddr_in local = socketAddress(adapter.address, 0);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return failure(ZL_ERR_OPEN_FAILED, adapter.name + ": " + std::strerror(errno));
    out = std::move(transport);
    return Status::success();
}

}  // namespace zel::com
