// A transport over one file descriptor: a socket or a serial line.
#pragma once

#include "transport.h"

namespace zel::com {

class FdTransport : public Transport {
public:
    enum class Kind { StreamSocket, DatagramSocket, Line };

    // With waitInRead, fd is a blocking socket: writes never wait (MSG_DONTWAIT), reads wait up
    // to the read wait (SO_RCVTIMEO).
    FdTransport(int fd, Kind kind, bool waitInRead = false)
        : fd_(fd), kind_(kind), waitInRead_(waitInRead) {}
    ~FdTransport() override;
    FdTransport(const FdTransport&) = delete;
    FdTransport& operator=(const FdTransport&) = delete;

    int fd() const override { return fd_; }
    bool datagram() const override { return kind_ == Kind::DatagramSocket; }
    bool serialLine() const override { return kind_ == Kind::Line; }
    ssize_t writeSome(std::span<const uint8_t> bytes, Status& status) override;
    ssize_t readSome(std::span<uint8_t> buffer, Status& status) override;
    bool waitsInRead() const override { return waitInRead_; }
    Status setReadWait(std::chrono::milliseconds wait) override;

private:
    int fd_;
    Kind kind_;
    bool waitInRead_;
    std::chrono::milliseconds readWait_{0};  // as last set on the socket; 0: never set
};

}  // namespace zel::com
