// An epoll loop over file descriptors with one callback each. Waiting costs the same however
// many descriptors there are, and nothing is registered again for each wait.
#pragma once

#include <sys/epoll.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "socket_util.h"

namespace zel::sim {

class Poller {
public:
    using Callback = std::function<void(short revents)>;

    Poller();

    // Events and revents are poll()'s flags (POLLIN, POLLOUT, POLLHUP, POLLERR).
    void add(int fd, short events, Callback callback);
    void setEvents(int fd, short events);
    void remove(int fd);
    // Waits up to timeoutMs (-1: no limit) and runs the callbacks of the ready descriptors.
    // A descriptor removed by an earlier callback of the same round is skipped. Callbacks do not
    // call it again.
    void runOnce(int timeoutMs);

private:
    struct Entry {
        short events = 0;
        uint32_t generation = 0;
        Callback callback;
    };
    void control(int op, int fd, const Entry& entry);

    UniqueFd epoll_;
    std::map<int, Entry> entries_;
    uint32_t generation_ = 0;
    std::vector<epoll_event> ready_ = std::vector<epoll_event>(16);
};

}  // namespace zel::sim
