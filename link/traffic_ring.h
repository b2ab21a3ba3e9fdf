// The record of library calls: one entry per call, kept in a ring of fixed size so a long
// session never grows it. Arguments stay numbers; text is made only when an entry is shown.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

#include "link/zel_calls.h"

namespace zel {

struct TrafficEntry {
    int64_t startMs = 0;  // wall clock, milliseconds since the epoch
    int64_t durationNs = 0;
    ZelCall call = ZelCall::GetRegister;
    uint8_t argumentCount = 0;
    std::array<int32_t, 5> arguments{};
    // The registers the call touches (first > last for a call that names none).
    int32_t firstRegister = 1;
    int32_t lastRegister = 0;
    int32_t result = 0;
    bool failed = false;
    // The library's error record fetched right after a failed call.
    int32_t errorCode = 0;
    QString errorText;

    bool touchesRegisters(int32_t low, int32_t high) const {
        return firstRegister <= lastRegister && firstRegister <= high && lastRegister >= low;
    }
};

// Thread-safe: calls on a worker thread record into the same ring.
class TrafficRing {
public:
    explicit TrafficRing(std::size_t capacity);

    void push(TrafficEntry entry);
    // The kept entries, oldest first.
    std::vector<TrafficEntry> entries() const;
    std::size_t capacity() const { return capacity_; }
    // Every entry ever pushed, including those the ring has since dropped.
    uint64_t pushed() const;
    void clear();

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::vector<TrafficEntry> slots_;
    std::size_t next_ = 0;
    uint64_t pushed_ = 0;
};

}  // namespace zel
