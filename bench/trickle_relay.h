// A TCP relay on loopback between a client and a server that hands the server's replies on one
// byte at a time with a pause after each, as a slow line would; requests pass at once. It
// serves one connection at a time, on its own thread, and takes the next when the client
// connects again.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace zel::bench {

class TrickleRelay {
public:
    TrickleRelay(uint16_t serverPort, std::chrono::microseconds pause);
    ~TrickleRelay();
    TrickleRelay(const TrickleRelay&) = delete;
    TrickleRelay& operator=(const TrickleRelay&) = delete;

    // Where the client connects.
    uint16_t port() const { return port_; }

private:
    void run();
    void relay(int client, int server);

    uint16_t serverPort_;
    std::chrono::microseconds pause_;
    int listener_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace zel::bench
