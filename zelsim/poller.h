// A poll() loop over file descriptors with one callback each. poll() has no limit on
// descriptor numbers, unlike select().
#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace zel::sim {

class Poller {
public:
    using Callback = std::function<void(short revents)>;

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
        uint64_t generation = 0;
        Callback callback;
    };
    std::map<int, Entry> entries_;
    uint64_t generation_ = 0;
    // One round's descriptors and their generations, kept so that a round allocates nothing.
    std::vector<pollfd> fds_;
    std::vector<uint64_t> generations_;
};

}  // namespace zel::sim
