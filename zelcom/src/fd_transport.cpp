#include "fd_transport.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "zelcom.h"

namespace zel::com {

FdTransport::~FdTransport() { ::close(fd_); }

ssize_t FdTransport::writeSome(std::span<const uint8_t> bytes, Status& status) {
    for (;;) {
        // MSG_NOSIGNAL: a peer that went away must fail the call, not kill the process.
        // MSG_DONTWAIT: a socket whose reads wait is blocking, and its writes still must not be.
        const ssize_t n = kind_ == Kind::Line
                              ? ::write(fd_, bytes.data(), bytes.size())
                              : ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
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
        // A waiting read starts its whole wait again: the caller first shortens it to what is left.
        if (errno == EINTR && !waitInRead_) continue;
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
            status = Status::success();
            return -1;
        }
        status = failure(ZL_ERR_LINK_LOST, std::strerror(errno));
        return -1;
    }
}

// Called before every read, so it touches the socket only when the wait changes: a link asks
// the same timeout of every request.
Status FdTransport::setReadWait(std::chrono::milliseconds wait) {
    if (wait == readWait_) return Status::success();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
    const timeval tv{static_cast<time_t>(seconds.count()),
                     static_cast<suseconds_t>((wait - seconds).count() * 1000)};
    if (::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) != 0)
        return failure(ZL_ERR_LINK_LOST, std::strerror(errno));
    readWait_ = wait;
    return Status::success();
}

}  // namespace zel::com
