#include "link/link_thread_library.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

namespace zel {

// The library keeps its error record per thread, and so does this side: each thread sees the
// record of its own last call. A failed call's record is fetched on the link thread as soon as
// the call returns; after a success there is none, and asking goes to the library as usual.
struct LinkThreadLibrary::FetchedError {
    LibErrorRecord record;
    int32_t result = 0;
};

namespace {

thread_local std::optional<LinkThreadLibrary::FetchedError> callerError;

// Beyond this many waits inside one another a call blocks instead of handling events: a burst
// of requests on a dead link must not pile up event loops until the stack runs out.
constexpr int kMaxNestedWaits = 16;

bool reachesController(ZelCall call) {
    const CallEffect effect = callTraits(call).effect;
    return effect == CallEffect::Reads || effect == CallEffect::Changes ||
           effect == CallEffect::Transfer;
}

LibErrorRecord closingRecord() {
    const QString text = QStringLiteral("ZEL Monitor is closing.");
    return {kMonitorClosingError, text.leftJustified(kLibErrorTextLength, u' ')};
}

}  // namespace

// A call on a working link is answered within a couple of milliseconds: the caller sleeps that
// long before it starts an event loop, which saves the loop and the hand-back through the event
// queue, each as dear as a round trip on loopback. It sleeps rather than spins, so that on a
// busy machine the processor goes to the threads doing the work.
constexpr auto kWaitBeforeEvents = std::chrono::milliseconds(2);

enum Phase : int { kAsked, kLooping, kDone };

// One call on its way: written on the link thread until its phase is done, read by the caller
// after.
struct LinkThreadLibrary::Job {
    int32_t result = 0;
    std::optional<FetchedError> error;  // a failure's record, fetched at once
    std::atomic<int> phase = kAsked;
    std::mutex mutex;
    std::condition_variable finished;
    QEventLoop* loop = nullptr;  // the caller's wait; touched on the window thread only
};

LinkThreadLibrary::LinkThreadLibrary(ZelLibrary& inner) : ForwardingZelLibrary(inner) {}

LinkThreadLibrary::~LinkThreadLibrary() = default;

int32_t LinkThreadLibrary::ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) {
    if (!callerError) return ForwardingZelLibrary::ZlGetErrorInfo(handle, info);
    info = callerError->record;
    return callerError->result;
}

bool LinkThreadLibrary::refused(ZelCall call) const {
    return refusing_ && reachesController(call);
}

// Runs a call on the link thread, with its error record fetched at once after a failure.
int32_t LinkThreadLibrary::make(ZelCall call, int32_t handle, const InnerCall& run,
                                std::optional<FetchedError>& error) {
    error.reset();
    // A call queued behind a dead link when the monitor began closing is not made either.
    if (refused(call)) {
        error = FetchedError{closingRecord(), 1};
        return 0;
    }
    const int32_t result = run();
    if (call != ZelCall::GetErrorInfo && !callSucceeded(call, result)) {
        error.emplace();
        error->result = inner().ZlGetErrorInfo(handle, error->record);
    }
    return result;
}

int32_t LinkThreadLibrary::pass(ZelCall call, CallNumbers numbers, InnerCall run) {
    if (refused(call)) {
        callerError = FetchedError{closingRecord(), 1};
        return 0;
    }
    const int32_t handle = handleOf(call, numbers);
    // A call made by a batch already runs here.
    if (thread_.isCurrent()) return make(call, handle, run, callerError);
    // Shared with the delivery on the window thread, which may come after a wait that a quitting
    // application ended early; run itself is used only before done is set, while the caller
    // still waits.
    const auto job = std::make_shared<Job>();
    thread_.post([this, job, run, call, handle] {
        job->result = make(call, handle, run, job->error);
        finish(job);
    });
    await(*job);
    callerError = job->error;
    return job->result;
}

void LinkThreadLibrary::runTogether(const std::function<void()>& calls) {
    if (thread_.isCurrent()) {
        calls();
        return;
    }
    const auto job = std::make_shared<Job>();
    thread_.post([this, job, &calls] {
        calls();
        finish(job);
    });
    await(*job);
}

// Marks a job done and, if its caller has started an event loop, ends that loop.
void LinkThreadLibrary::finish(const std::shared_ptr<Job>& job) {
    int before = kAsked;
    {
        const std::lock_guard lock(job->mutex);
        before = job->phase.exchange(kDone, std::memory_order_acq_rel);
    }
    job->finished.notify_one();
    if (before == kLooping) {
        QMetaObject::invokeMethod(
            &windowThread_,
            [job] {
                if (job->loop) job->loop->quit();
            },
            Qt::QueuedConnection);
    }
}

void LinkThreadLibrary::await(Job& job) {
    const bool withEvents = QThread::currentThread() == windowThread_.thread() &&
                            QCoreApplication::instance() && depth_ < kMaxNestedWaits;
    const auto done = [&job] { return job.phase.load(std::memory_order_acquire) == kDone; };
    {
        std::unique_lock lock(job.mutex);
        if (job.finished.wait_for(lock, kWaitBeforeEvents, done)) return;
    }
    int asked = kAsked;
    if (withEvents && job.phase.compare_exchange_strong(asked, kLooping)) {
        // The link thread now hands the result back through the event queue, which this loop
        // reads: the loop is set before any event can run.
        QEventLoop loop;
        job.loop = &loop;
        ++depth_;
        loop.exec();
        job.loop = nullptr;
        --depth_;
    }
    // Without events, or when the application is quitting and its loops no longer run.
    std::unique_lock lock(job.mutex);
    job.finished.wait(lock, done);
}

}  // namespace zel
