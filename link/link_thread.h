// The one thread on which the monitor talks to the controller. Jobs run one at a time in the
// order they were posted, so the library never sees two calls at once and its per-thread error
// record always belongs to the call just made. Plain C++: no event loop runs here.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zel {

class LinkThread {
public:
    LinkThread();
    // Runs what is still queued, then ends the thread.
    ~LinkThread();
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    void post(std::function<void()> job);
    // Whether the caller is this thread, running one of its jobs.
    bool isCurrent() const { return std::this_thread::get_id() == thread_.get_id(); }

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::thread thread_;  // last: started once the members it uses exist
};

}  // namespace zel
