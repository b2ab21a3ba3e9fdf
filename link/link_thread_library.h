// The library as the monitor uses it: every call runs on the link thread while the window thread
// goes on handling events, so a controller that does not answer never freezes the monitor.
//
// A call made on the window thread posts its job and, unless the answer is there within a couple
// of milliseconds, waits in a local event loop until the result comes back; the caller then
// carries on exactly as after a direct call, so the order of calls, the messages and the rules
// around them stay where they are. Events that run during the wait may make calls of their own:
// those queue behind the one in hand and nest inside its wait, as events already nest inside a
// Delay. Calls from any other thread simply block.
#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <optional>

#include "link/forwarding_zel_library.h"
#include "link/link_thread.h"

namespace zel {

class LinkThreadLibrary : public ForwardingZelLibrary {
public:
    // Made on the window thread, whose events run during its waits.
    explicit LinkThreadLibrary(ZelLibrary& inner);
    ~LinkThreadLibrary() override;

    // The error record of the calling thread's last call, fetched on the link thread as soon as
    // that call returned: a call that ran in between cannot replace it.
    int32_t ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) override;

    // From now on calls that would reach the controller fail at once with "ZEL Monitor is
    // closing." (closing the link still goes through), so a shutdown waits at most for the call
    // in hand instead of for every call queued behind it on a dead link.
    void refuseControllerCalls() { refusing_ = true; }

    // Whether a call from the window thread is waiting for its result.
    bool waiting() const { return depth_ > 0; }

    // The calls run on the link thread as one job, the caller waiting once for them all.
    void runTogether(const std::function<void()>& calls) override;

    // A failed call's error record and the result of fetching it.
    struct FetchedError;

protected:
    int32_t pass(ZelCall call, CallNumbers numbers, InnerCall run) override;

private:
    struct Job;
    bool refused(ZelCall call) const;
    int32_t make(ZelCall call, int32_t handle, const InnerCall& run,
                 std::optional<FetchedError>& error);
    void finish(const std::shared_ptr<Job>& job);
    void await(Job& job);

    QObject windowThread_;  // lives on the window thread; results are delivered through it
    std::atomic<bool> refusing_ = false;
    int depth_ = 0;      // nested waits on the window thread
    LinkThread thread_;  // last: ended first, while what its jobs use still exists
};

}  // namespace zel
