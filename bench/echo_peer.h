// The floor of each link: a separate process that sends back whatever it receives, so a raw
// ping-pong of one request's size measures what the machine itself costs per round trip.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace zel::bench {

class EchoPeer {
public:
    enum class Kind { Tcp, Udp, Pty };
    explicit EchoPeer(Kind kind);
    ~EchoPeer();
    EchoPeer(const EchoPeer&) = delete;
    EchoPeer& operator=(const EchoPeer&) = delete;

    // One round trip of size bytes through the peer.
    void ping(size_t size);

private:
    int fd_ = -1;  // our end: a connected socket or the pty's slave
    pid_t child_ = -1;
};

}  // namespace zel::bench
