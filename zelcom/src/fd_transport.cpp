#include "fd_transport.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "zelcom.h"

namespace zel::com {

FdTransport::~FdTransport() { ::close(fd_); }

ssize_t FdTransport::writeSome(std::span<const uint8_t> bytes, Status& status) {
    for (;;) {
        // MSG_NOSIGNAL: a peer that went away must fail the call, not kill the process.
        const ssize_t n = kind_ == Kind::Line ? ::write(fd_, bytes.data(), bytes.size())
                                              : ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        status = failure(kind_ == Kind::DatagramSocket ? ZL_ERR_SEND_FAILED : ZL_ERR_LINK_LOST,
                         std::strerror(errno));
        return -1;
    }
}

ssize_t FdTransport::readSome(std::span<uint8_t> buffer, Status& status) {
    for (;;) {
        const ssize_t n = kind_ == Kind::Line ? ::read(fd_, buffer.data(), buffer.size())
                                              : ::recv(fd_, buffer.data(), buffer.size(), 0);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            status = Status::success();
            return -1;
        }
        status = failure(ZL_ERR_LINK_LOST, std::strerror(errno));
        return -1;
    }
}

}  // namespace zel::com
