#include "link/link_thread.h"

#include <chrono>

#include "link/spin_wait.h"

namespace zel {

LinkThread::LinkThread() : thread_([this] { run(); }) {}

LinkThread::~LinkThread() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void LinkThread::post(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        queued_.store(jobs_.size(), std::memory_order_release);
    }
    wake_.notify_one();
}

void LinkThread::run() {
    for (;;) {
        awaitWork();
        std::function<void()> job;
        {
            const std::lock_guard lock(mutex_);
            if (jobs_.empty()) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            queued_.store(jobs_.size(), std::memory_order_release);
        }
        job();
    }
}

// A caller asks its next call within microseconds of the last result: looking for it briefly
// before sleeping saves the wake-up, which costs about as much as a round trip on loopback.
void LinkThread::awaitWork() {
    spinUntil([this] { return queued_.load(std::memory_order_acquire) != 0; },
              std::chrono::microseconds(100));
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
}

}  // namespace zel
