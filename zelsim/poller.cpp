#include "poller.h"

#include <poll.h>

#include <cerrno>
#include <system_error>

namespace zel::sim {
namespace {

// poll()'s flags and epoll's have the same values.
static_assert(POLLIN == EPOLLIN && POLLOUT == EPOLLOUT && POLLERR == EPOLLERR &&
              POLLHUP == EPOLLHUP);

// Each registration carries its descriptor and the generation of its entry, so that an event
// for an entry removed, or replaced, earlier in the same round is recognised.
uint64_t tag(int fd, uint32_t generation) {
    return uint64_t{generation} << 32 | static_cast<uint32_t>(fd);
}

}  // namespace

Poller::Poller() : epoll_(::epoll_create1(EPOLL_CLOEXEC)) {
    if (epoll_.get() < 0) throw std::system_error(errno, std::generic_category(), "epoll_create1");
}

void Poller::control(int op, int fd, const Entry& entry) {
    epoll_event e{};
    e.events = static_cast<uint16_t>(entry.events);
    e.data.u64 = tag(fd, entry.generation);
    if (::epoll_ctl(epoll_.get(), op, fd, &e) != 0)
        throw std::system_error(errno, std::generic_category(), "epoll_ctl");
}

void Poller::add(int fd, short events, Callback callback) {
    const bool known = entries_.count(fd) != 0;
    Entry& entry = entries_[fd];
    entry = Entry{events, ++generation_, std::move(callback)};
    control(known ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, fd, entry);
}

// Touches the kernel only when the events change: a connection sets them after every reply.
void Poller::setEvents(int fd, short events) {
    auto it = entries_.find(fd);
    if (it == entries_.end() || it->second.events == events) return;
    it->second.events = events;
    control(EPOLL_CTL_MOD, fd, it->second);
}

void Poller::remove(int fd) {
    if (entries_.erase(fd) == 0) return;
    epoll_event unused{};
    ::epoll_ctl(epoll_.get(), EPOLL_CTL_DEL, fd, &unused);
}

void Poller::runOnce(int timeoutMs) {
    const int n = ::epoll_wait(epoll_.get(), ready_.data(), static_cast<int>(ready_.size()),
                               timeoutMs);
    if (n < 0) {
        if (errno == EINTR) return;
        throw std::system_error(errno, std::generic_category(), "epoll_wait");
    }
    for (int i = 0; i < n; ++i) {
        const int fd = static_cast<int>(static_cast<uint32_t>(ready_[i].data.u64));
        const auto generation = static_cast<uint32_t>(ready_[i].data.u64 >> 32);
        auto it = entries_.find(fd);
        if (it == entries_.end() || it->second.generation != generation) continue;
        Callback callback = it->second.callback;  // the callback may remove its own entry
        callback(static_cast<short>(ready_[i].events));
    }
}

}  // namespace zel::sim
