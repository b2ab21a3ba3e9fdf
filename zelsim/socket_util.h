// Small helpers around POSIX sockets and descriptors.
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <string>

namespace zel::sim {

// Owns a descriptor and closes it once.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    int release();
    void reset(int fd = -1);

private:
    int fd_ = -1;
};

// A non-blocking socket bound to address:port (port 0 picks a free one); throws
// std::system_error naming what failed.
UniqueFd bindSocket(int type, const std::string& address, uint16_t port);
uint16_t boundPort(int fd);
void setNonBlocking(int fd);
std::string peerText(const sockaddr_storage& peer);

}  // namespace zel::sim
