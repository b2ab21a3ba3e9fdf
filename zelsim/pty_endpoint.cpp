#include "pty_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "protocol.h"

namespace zel::sim {
namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void replaceLink(const std::string& target, const std::string& link) {
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            errno = EEXIST;
            fail("pty link " + link + " (exists and is not a symbolic link)");
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) < 0) fail("pty link " + link);
}

}  // namespace

std::optional<unsigned> speedConstant(int baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return std::nullopt;
    }
}

PtyEndpoint::PtyEndpoint(Poller& poller, Dispatcher& dispatcher, const std::string& link,
                         const BootSettings& boot)
    : poller_(poller), dispatcher_(dispatcher), link_(link), baud_(boot.baud) {
    if (!boot.firmwareOut.empty()) boot_ = std::make_unique<BootLoader>(boot);
    master_.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (master_.get() < 0 || ::grantpt(master_.get()) < 0 || ::unlockpt(master_.get()) < 0)
        fail("posix_openpt");
    char name[256] = {};
    if (::ptsname_r(master_.get(), name, sizeof name) != 0) fail("ptsname");
    slavePath_ = name;
    slave_.reset(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (slave_.get() < 0) fail("open " + slavePath_);
    termios t{};
    if (::tcgetattr(slave_.get(), &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(slave_.get(), TCSANOW, &t);
    }
    if (!link_.empty()) replaceLink(slavePath_, link_);
    poller_.add(master_.get(), POLLIN, [this](short revents) { onEvent(revents); });
}

PtyEndpoint::~PtyEndpoint() {
    poller_.remove(master_.get());
    if (!link_.empty()) ::unlink(link_.c_str());
}

void PtyEndpoint::onEvent(short revents) {
    if (revents & POLLOUT) flush();
    if (revents & POLLIN) receive();
}

bool PtyEndpoint::lineAtRequiredSpeed() const {
    const std::optional<int> required = boot_ ? boot_->requiredBaud() : baud_;
    return !required || lineBaud() == *required;
}

int PtyEndpoint::lineBaud() const {
    static constexpr int kRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};
    termios t{};
    if (::tcgetattr(slave_.get(), &t) < 0) return 0;
    for (int rate : kRates)
        if (speedConstant(rate) == ::cfgetispeed(&t)) return rate;
    return 0;
}

bool PtyEndpoint::forBootLoader(std::span<const uint8_t> bytes) const {
    return boot_ && boot_->active() && decoder_.buffered() == 0 && bytes[0] != codec::kMagic0;
}

std::optional<codec::Frame> PtyEndpoint::bootAnswer(const codec::Frame& request) {
    if (!boot_) return std::nullopt;
    codec::Frame reply;
    reply.type = codec::FrameType::Reply;
    reply.id = request.id;
    reply.opcode = request.opcode;
    reply.target_node = request.source_node;
    reply.source_node = request.target_node;
    if (boot_->active()) {
        reply.status = boot_->frameError();
        return reply;
    }
    const auto& body = request.body;
    if (request.opcode != static_cast<uint16_t>(codec::Op::SendData) || body.size() < 2 ||
        body[0] != 20)
        return std::nullopt;
    auto packet = boot_->programmingRequest(std::span(body).subspan(1));
    if (!packet) return std::nullopt;
    reply.body = std::move(*packet);
    return reply;
}

void PtyEndpoint::receive() {
    uint8_t buffer[4096];
    const ssize_t n = ::read(master_.get(), buffer, sizeof buffer);
    if (n <= 0 || ended_) return;
    const std::span<const uint8_t> bytes(buffer, static_cast<size_t>(n));
    if (forBootLoader(bytes)) {
        send(boot_->receive(bytes, lineBaud()));
        return;
    }
    if (!lineAtRequiredSpeed()) {
        decoder_.clear();  // at the wrong speed the bytes would arrive as garbage
        return;
    }
    decoder_.feed({buffer, static_cast<size_t>(n)});
    while (auto frame = decoder_.next()) {
        if (frame->type != codec::FrameType::Request) continue;
        if (auto answer = bootAnswer(*frame)) {
            send(codec::encodeFrame(*answer));
            continue;
        }
        if (dispatcher_.onRequest(*frame, Route{this, 0, {}, 0}, "pty") == LinkVerdict::End) {
            ended_ = true;
            return;
        }
    }
}

void PtyEndpoint::flush() {
    while (!outgoing_.empty()) {
        const ssize_t n = ::write(master_.get(), outgoing_.data(), outgoing_.size());
        if (n <= 0) break;
        outgoing_.erase(outgoing_.begin(), outgoing_.begin() + n);
    }
    poller_.setEvents(master_.get(),
                      static_cast<short>(POLLIN | (outgoing_.empty() ? 0 : POLLOUT)));
}

void PtyEndpoint::deliver(const Route&, std::span<const uint8_t> bytes, bool) {
    send(bytes);
}

void PtyEndpoint::send(std::span<const uint8_t> bytes) {
    outgoing_.insert(outgoing_.end(), bytes.begin(), bytes.end());
    flush();
}

}  // namespace zel::sim
