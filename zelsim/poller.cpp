#include "poller.h"

#include <poll.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace zel::sim {

void Poller::add(int fd, short events, Callback callback) {
    entries_[fd] = Entry{events, ++generation_, std::move(callback)};
}

void Poller::setEvents(int fd, short events) {
    auto it = entries_.find(fd);
    if (it != entries_.end()) it->second.events = events;
}

void Poller::remove(int fd) {
    entries_.erase(fd);
}

void Poller::runOnce(int timeoutMs) {
    fds_.clear();
    generations_.clear();
    for (const auto& [fd, entry] : entries_) {
        fds_.push_back(pollfd{fd, entry.events, 0});
        generations_.push_back(entry.generation);
    }
    const int n = ::poll(fds_.data(), fds_.size(), timeoutMs);
    if (n < 0) {
        if (errno == EINTR) return;
        throw std::system_error(errno, std::generic_category(), "poll");
    }
    for (size_t i = 0; i < fds_.size(); ++i) {
        if (fds_[i].revents == 0) continue;
        auto it = entries_.find(fds_[i].fd);
        if (it == entries_.end() || it->second.generation != generations_[i]) continue;
        Callback callback = it->second.callback;  // the callback may remove its own entry
        callback(fds_[i].revents);
    }
}

}  // namespace zel::sim
