// The library with every call recorded into a traffic ring while recording is on. All calls of
// the monitor pass here, so this is the one place the record is made. While recording is off a
// call costs one relaxed atomic load on top of the library's own.
#pragma once

#include <atomic>

#include "link/forwarding_zel_library.h"
#include "link/traffic_ring.h"

namespace zel {

inline constexpr std::size_t kTrafficRingSize = 20000;

class RecordingZelLibrary final : public ForwardingZelLibrary {
public:
    explicit RecordingZelLibrary(ZelLibrary& library, std::size_t ringSize = kTrafficRingSize);

    void setRecording(bool on) { recording_.store(on, std::memory_order_relaxed); }
    bool isRecording() const { return recording_.load(std::memory_order_relaxed); }
    TrafficRing& ring() { return ring_; }

private:
    int32_t pass(ZelCall call, CallNumbers numbers, InnerCall run) override;
    void record(TrafficEntry& entry, int32_t handle);

    std::atomic<bool> recording_{false};
    TrafficRing ring_;
};

}  // namespace zel
