// A transport over one file descriptor: a socket or a serial line.
#pragma once

#include "transport.h"

namespace zel::com {

class FdTransport : public Transport {
public:
    enum class Kind { StreamSocket, DatagramSocket, Line };

    FdTransport(int fd, Kind kind) : fd_(fd), kind_(kind) {}
    ~FdTransport() override;
    FdTransport(const FdTransport&) = delete;
    FdTransport& operator=(const FdTransport&) = delete;

    int fd() const override { return fd_; }
    bool datagram() const override { return kind_ == Kind::DatagramSocket; }
    bool serialLine() const override { return kind_ == Kind::Line; }
    ssize_t writeSome(std::span<const uint8_t> bytes, Status& status) override;
    ssize_t readSome(std::span<uint8_t> buffer, Status& status) override;

private:
    int fd_;
    Kind kind_;
};

}  // namespace zel::com
