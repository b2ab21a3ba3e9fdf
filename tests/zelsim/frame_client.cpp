#include "frame_client.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

#include "wire.h"

namespace zel::test {
namespace {

sockaddr_in loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

int connected(uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in a = loopback(port);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) < 0)
        throw std::runtime_error("cannot connect to port " + std::to_string(port));
    return fd;
}

}  // namespace

std::vector<uint8_t> i32s(std::initializer_list<int32_t> values) {
    codec::ByteWriter w;
    for (int32_t v : values) w.i32(v);
    return w.take();
}

codec::Frame request(codec::Op op, std::vector<uint8_t> body, uint16_t target) {
    static uint32_t nextId = 1;
    codec::Frame f;
    f.id = nextId++;
    f.opcode = static_cast<uint16_t>(op);
    f.source_node = 1;
    f.target_node = target;
    f.body = std::move(body);
    return f;
}

FrameClient FrameClient::tcp(uint16_t port) {
    return FrameClient(connected(port));
}

FrameClient FrameClient::serial(const std::string& path, unsigned speed) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    FrameClient c(fd);
    c.setSpeed(speed);
    return c;
}

void FrameClient::setSpeed(unsigned speed) {
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    ::tcsetattr(fd_, TCSANOW, &t);
}

FrameClient::FrameClient(FrameClient&& other) noexcept
    : fd_(other.fd_),
      closed_(other.closed_),
      decoder_(std::move(other.decoder_)) {
    other.fd_ = -1;
}

FrameClient::~FrameClient() {
    if (fd_ >= 0) ::close(fd_);
}

void FrameClient::send(const codec::Frame& request) {
    const auto bytes = codec::encodeFrame(request);
    if (::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("short write");
}

std::optional<codec::Frame> FrameClient::receive(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto f = decoder_.next()) return f;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
        uint8_t buffer[8192];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            closed_ = n == 0;
            return {};
        }
        decoder_.feed({buffer, static_cast<size_t>(n)});
    }
}

std::optional<codec::Frame> FrameClient::call(codec::Frame request,
                                              std::chrono::milliseconds timeout) {
    send(request);
    while (auto reply = receive(timeout))
        if (reply->id == request.id) return reply;
    return {};
}

void FrameClient::sendRaw(const std::string& bytes) {
    if (::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("raw write failed");
}

std::string FrameClient::receiveRaw(char endByte, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const auto end = raw_.find(endByte); end != std::string::npos) {
            std::string got = raw_.substr(0, end + 1);
            raw_.erase(0, end + 1);
            return got;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
        char buffer[512];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) raw_.append(buffer, static_cast<size_t>(n));
    }
}

}  // namespace zel::test
