// A UDP socket carrying one frame per datagram; replies go back to the sender. With a node
// number it is a ZelNET node and ignores requests addressed to other nodes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "dispatcher.h"
#include "poller.h"
#include "route.h"
#include "socket_util.h"

namespace zel::sim {

class UdpEndpoint final : public ReplySink {
public:
    UdpEndpoint(Poller& poller, Dispatcher& dispatcher, const std::string& address, uint16_t port,
                std::optional<uint16_t> node);
    ~UdpEndpoint();
    UdpEndpoint(const UdpEndpoint&) = delete;
    UdpEndpoint& operator=(const UdpEndpoint&) = delete;

    uint16_t port() const { return port_; }
    void deliver(const Route& route, std::span<const uint8_t> bytes, bool endLink) override;

private:
    void receive();

    Poller& poller_;
    Dispatcher& dispatcher_;
    UniqueFd fd_;
    uint16_t port_ = 0;
    std::optional<uint16_t> node_;
};

}  // namespace zel::sim
