#include "scripted_peer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "zelcom.h"

namespace zel::test {

ScriptedPeer::ScriptedPeer(Script script) : script_(std::move(script)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&sa), &len) != 0 || ::pipe(wake_) != 0)
        throw std::runtime_error("scripted peer: cannot listen");
    port_ = ntohs(sa.sin_port);
    thread_ = std::thread([this] { serve(); });
}

ScriptedPeer::~ScriptedPeer() {
    [[maybe_unused]] ssize_t n = ::write(wake_[1], "x", 1);
    thread_.join();
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void ScriptedPeer::serve() {
    struct Client {
        int fd;
        codec::StreamDecoder decoder;
    };
    std::vector<Client> clients;
    for (;;) {
        std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const Client& c : clients) fds.push_back({c.fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) continue;
        if (fds[0].revents) break;
        if (fds[1].revents)
            clients.push_back({::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC), {}});
        for (size_t i = fds.size() - 1; i >= 2; --i) {
            if (!fds[i].revents) continue;
            Client& c = clients[i - 2];
            uint8_t buf[4096];
            const ssize_t n = ::read(c.fd, buf, sizeof buf);
            if (n <= 0) {
                ::close(c.fd);
                clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i - 2));
                continue;
            }
            c.decoder.feed({buf, static_cast<size_t>(n)});
            while (auto request = c.decoder.next()) {
                script_(c.fd, *request);
            }
        }
        setConnectionCount(clients.size());
    }
    for (const Client& c : clients) ::close(c.fd);
}

void ScriptedPeer::setConnectionCount(size_t count) {
    {
        const std::lock_guard lock(mutex_);
        connections_ = count;
    }
    connectionsChanged_.notify_all();
}

bool ScriptedPeer::waitUntilNoConnections(std::chrono::milliseconds bound) {
    std::unique_lock lock(mutex_);
    return connectionsChanged_.wait_for(lock, bound, [this] { return connections_ == 0; });
}

std::vector<uint8_t> ScriptedPeer::replyTo(const codec::Frame& request, std::vector<uint8_t> body,
                                           uint16_t status) {
    codec::Frame reply;
    reply.type = codec::FrameType::Reply;
    reply.id = request.id;
    reply.opcode = request.opcode;
    reply.status = status;
    reply.body = std::move(body);
    return codec::encodeFrame(reply);
}

void ScriptedPeer::writeAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

PseudoTerminal::PseudoTerminal() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) slave = ::ptsname(master);
}

PseudoTerminal::~PseudoTerminal() {
    if (master >= 0) ::close(master);
}

TcpPortOverride::TcpPortOverride(uint16_t port) {
    ::setenv("ZELCOM_TCP_PORT", std::to_string(port).c_str(), 1);
}
TcpPortOverride::~TcpPortOverride() {
    ::unsetenv("ZELCOM_TCP_PORT");
}

int32_t openLoopbackTcp(int timeoutMs) {
    int32_t timeout = timeoutMs;
    return ZlOpenNetConnection(ZL_KIND_TCP, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)),
                               &timeout);
}

int32_t lastErrorCode() {
    ZlErrorInfo info;
    ZlGetErrorInfo(0, &info);
    return info.code;
}

}  // namespace zel::test
