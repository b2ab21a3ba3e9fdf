#include "link/recording_zel_library.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>

namespace zel {

RecordingZelLibrary::RecordingZelLibrary(ZelLibrary& library, std::size_t ringSize)
    : ForwardingZelLibrary(library), ring_(ringSize) {}

int32_t RecordingZelLibrary::pass(ZelCall call, CallNumbers numbers, InnerCall run) {
    if (!recording_.load(std::memory_order_relaxed)) return run();
    TrafficEntry entry;
    entry.startMs = QDateTime::currentMSecsSinceEpoch();
    QElapsedTimer timer;
    timer.start();
    entry.result = run();
    entry.durationNs = timer.nsecsElapsed();
    entry.call = call;
    entry.argumentCount = static_cast<uint8_t>(std::min(numbers.size(), entry.arguments.size()));
    std::copy_n(numbers.begin(), entry.argumentCount, entry.arguments.begin());
    const RegisterRange registers = registersOf(call, numbers);
    entry.firstRegister = registers.first;
    entry.lastRegister = registers.last;
    record(entry, handleOf(call, numbers));
    return entry.result;
}

// The library keeps its last error per thread, so it is fetched here, on the calling thread,
// before anything else can replace it.
void RecordingZelLibrary::record(TrafficEntry& entry, int32_t handle) {
    entry.failed = !callSucceeded(entry.call, entry.result);
    if (entry.failed && entry.call != ZelCall::GetErrorInfo) {
        LibErrorRecord error;
        if (inner().ZlGetErrorInfo(handle, error) == 1) {
            entry.errorCode = error.code;
            entry.errorText = error.text.trimmed();
        }
    }
    ring_.push(std::move(entry));
}

}  // namespace zel
