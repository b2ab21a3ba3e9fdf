#include "pty_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
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

PtyEndpoint::PtyEndpoint(Poller& poller, Dispatcher& dispatcher, const std::string& link,
                         const BootSettings& boot, std::optional<LinePacing> pacing)
    : poller_(poller), dispatcher_(dispatcher), link_(link), baud_(boot.baud) {
    if (!boot.firmwareOut.empty()) boot_ = std::make_unique<BootLoader>(boot);
    if (pacing) {
        pacer_.emplace([] { return std::chrono::steady_clock::now().time_since_epoch(); },
                       pacing->turnaround);
        pacedBaud_ = pacing->baud;
    }
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
    termios t{};
    if (::tcgetattr(slave_.get(), &t) < 0) return 0;
    return baudOfSpeed(::cfgetispeed(&t));
}

// A Linux pty keeps the rate and stop bits the client sets, but always reports 8 data bits and
// no parity, whatever was asked for.
LineFormat PtyEndpoint::lineFormat() const {
    termios t{};
    if (::tcgetattr(slave_.get(), &t) < 0) return LineFormat{pacedBaud_, 10};
    return LineFormat{pacedBaud_ ? pacedBaud_ : baudOfSpeed(::cfgetispeed(&t)),
                      bitsPerByte(t.c_cflag)};
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
    if (!pacer_) {
        take(bytes);
        return;
    }
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
    pacer_->received(bytes.size(), lineFormat());
    runDue();
}

std::optional<int64_t> PtyEndpoint::nextDueMs() const {
    if (!pacer_) return std::nullopt;
    std::optional<LinePacer::Nanos> due = pacer_->nextArrival();
    if (const auto write = pacer_->nextWrite(); write && !writeBlocked_)
        due = due ? std::min(*due, *write) : *write;
    if (!due) return std::nullopt;
    return std::chrono::ceil<std::chrono::milliseconds>(*due).count();
}

void PtyEndpoint::runDue() {
    if (!pacer_) return;
    if (const size_t n = pacer_->arrived(); n > 0) {
        const std::vector<uint8_t> bytes(incoming_.begin(), incoming_.begin() + n);
        incoming_.erase(incoming_.begin(), incoming_.begin() + n);
        pacer_->handled(n);
        if (!ended_) take(bytes);
    }
    flush();
}

void PtyEndpoint::take(std::span<const uint8_t> bytes) {
    if (forBootLoader(bytes)) {
        send(boot_->receive(bytes, lineBaud()));
        return;
    }
    if (!lineAtRequiredSpeed()) {
        decoder_.clear();  // at the wrong speed the bytes would arrive as garbage
        return;
    }
    decoder_.feed(bytes);
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
    writeBlocked_ = false;
    for (;;) {
        const size_t due = pacer_ ? pacer_->writable() : outgoing_.size();
        if (due == 0) break;
        const ssize_t n = ::write(master_.get(), outgoing_.data(), due);
        if (n <= 0) {
            writeBlocked_ = true;
            break;
        }
        outgoing_.erase(outgoing_.begin(), outgoing_.begin() + n);
        if (pacer_) pacer_->wrote(static_cast<size_t>(n));
    }
    poller_.setEvents(master_.get(), static_cast<short>(POLLIN | (writeBlocked_ ? POLLOUT : 0)));
}

void PtyEndpoint::deliver(const Route&, std::span<const uint8_t> bytes, bool) {
    send(bytes);
}

void PtyEndpoint::send(std::span<const uint8_t> bytes) {
    outgoing_.insert(outgoing_.end(), bytes.begin(), bytes.end());
    if (pacer_) pacer_->queueReply(bytes.size(), lineFormat());
    flush();
}

}  // namespace zel::sim
