// Where a reply goes: the transport that received the request and, within it, the link.
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <span>

namespace zel::sim {

class ReplySink;

struct Route {
    ReplySink* sink = nullptr;
    uint64_t link = 0;  // connection number within the transport, where it has connections
    sockaddr_storage peer{};
    socklen_t peerLength = 0;
};

class ReplySink {
public:
    // Sends the encoded reply (possibly empty) and, when asked, ends the link afterwards.
    // A link that has gone meanwhile makes this a no-op.
    virtual void deliver(const Route& route, std::span<const uint8_t> bytes, bool endLink) = 0;

protected:
    ~ReplySink() = default;
};

}  // namespace zel::sim
