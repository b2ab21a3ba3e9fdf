// TCP listener: any number of clients, each a byte stream of frames.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "dispatcher.h"
#include "frame.h"
#include "poller.h"
#include "route.h"
#include "socket_util.h"

namespace zel::sim {

class TcpEndpoint final : public ReplySink {
public:
    TcpEndpoint(Poller& poller, Dispatcher& dispatcher, const std::string& address, uint16_t port);
    ~TcpEndpoint();
    TcpEndpoint(const TcpEndpoint&) = delete;
    TcpEndpoint& operator=(const TcpEndpoint&) = delete;

    uint16_t port() const { return port_; }
    void deliver(const Route& route, std::span<const uint8_t> bytes, bool endLink) override;

private:
    struct Connection {
        UniqueFd fd;
        codec::StreamDecoder decoder;
        std::vector<uint8_t> outgoing;
        bool ending = false;  // no more requests are read
        bool closeWhenSent = false;
    };

    void accept();
    void onEvent(uint64_t id, short revents);
    bool readFrom(uint64_t id, Connection& c);
    bool flush(Connection& c);
    void close(uint64_t id);
    static std::string key(uint64_t id) { return "tcp#" + std::to_string(id); }

    Poller& poller_;
    Dispatcher& dispatcher_;
    UniqueFd listener_;
    uint16_t port_ = 0;
    uint64_t nextId_ = 1;
    std::map<uint64_t, Connection> connections_;
};

}  // namespace zel::sim
