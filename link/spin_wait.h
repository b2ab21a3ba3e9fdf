// A short wait without sleeping, for a hand-over between two threads that are both awake: going
// to sleep and being woken costs several microseconds, as much as a round trip on loopback.
#pragma once

#include <chrono>
#include <thread>

namespace zel {

// Polls `ready` for at most `limit`, giving the processor up between polls: the thread the
// other one waits for may need it, and on a virtual machine a busy loop can get the whole
// processor taken away. True when `ready` held.
template <typename Ready>
bool spinUntil(const Ready& ready, std::chrono::microseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::yield();
    }
    return true;
}

}  // namespace zel
