// A minimal protocol client for the end-to-end tests: one link over TCP or a serial line,
// speaking frames through the codec directly.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "frame.h"
#include "protocol.h"

namespace zel::test {

class FrameClient {
public:
    static FrameClient tcp(uint16_t port);
    // Opens a serial line (a pty slave) raw at the given speed.
    static FrameClient serial(const std::string& path, unsigned speed);
    FrameClient(FrameClient&& other) noexcept;
    FrameClient& operator=(FrameClient&&) = delete;
    ~FrameClient();

    void send(const codec::Frame& request);
    // The next reply, or nothing when none arrives in time; for TCP also nothing once the
    // peer has closed (see closedByPeer).
    std::optional<codec::Frame> receive(std::chrono::milliseconds timeout);
    std::optional<codec::Frame> call(codec::Frame request,
                                     std::chrono::milliseconds timeout = std::chrono::seconds(2));
    bool closedByPeer() const { return closed_; }
    // The boot loader's raw exchange: bytes as they are, and what comes back up to and
    // including endByte (empty when it does not come in time; what came is kept).
    void sendRaw(const std::string& bytes);
    std::string receiveRaw(char endByte, std::chrono::milliseconds timeout);
    void setSpeed(unsigned speed);

private:
    explicit FrameClient(int fd) : fd_(fd) {}

    int fd_ = -1;
    bool closed_ = false;
    codec::StreamDecoder decoder_;
    std::string raw_;
};

codec::Frame request(codec::Op op, std::vector<uint8_t> body = {}, uint16_t target = 0);
// A body of 32-bit numbers in the protocol's byte order.
std::vector<uint8_t> i32s(std::initializer_list<int32_t> values);

}  // namespace zel::test
