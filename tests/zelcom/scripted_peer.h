// A controller stand-in on a real loopback socket that answers each request with whatever the
// test scripts: cut replies, wrong ids, slow bytes. It exists to produce link faults that a
// well-behaved controller never does.
#pragma once

#include <netinet/in.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "frame.h"

namespace zel::test {

class ScriptedPeer {
public:
    // Called for each request with the accepted socket; writes whatever it likes to it.
    using Script = std::function<void(int fd, const codec::Frame& request)>;

    explicit ScriptedPeer(Script script);
    ~ScriptedPeer();

    uint16_t port() const { return port_; }

    // Waits until the peer has closed every connection it accepted, for at most `bound`; false
    // when some are still open then. The peer runs in this process, so until then its ends of
    // the connections count among the process's descriptors.
    bool waitUntilNoConnections(std::chrono::milliseconds bound);

    // A correct reply to request with the given body.
    static std::vector<uint8_t> replyTo(const codec::Frame& request, std::vector<uint8_t> body,
                                        uint16_t status = 0);
    static void writeAll(int fd, const std::vector<uint8_t>& bytes);

private:
    void serve();
    void setConnectionCount(size_t count);

    Script script_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    uint16_t port_ = 0;
    std::mutex mutex_;
    std::condition_variable connectionsChanged_;
    size_t connections_ = 0;
    std::thread thread_;
};

// A pseudo-terminal whose master end the test drives, standing in for a serial device.
struct PseudoTerminal {
    int master = -1;
    std::string slave;
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
};

// Points the library's TCP port at the peer for the lifetime of the object.
class TcpPortOverride {
public:
    explicit TcpPortOverride(uint16_t port);
    ~TcpPortOverride();
};

// Opens a TCP connection to 127.0.0.1 with the given timeout; returns the handle.
int32_t openLoopbackTcp(int timeoutMs);

// The code of the last failure the library recorded on any connection.
int32_t lastErrorCode();

}  // namespace zel::test
