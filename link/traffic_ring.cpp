#include "link/traffic_ring.h"

#include <algorithm>

namespace zel {

TrafficRing::TrafficRing(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

void TrafficRing::push(TrafficEntry entry) {
    const std::lock_guard lock(mutex_);
    if (slots_.size() < capacity_)
        slots_.push_back(std::move(entry));
    else
        slots_[next_] = std::move(entry);
    next_ = (next_ + 1) % capacity_;
    ++pushed_;
}

std::vector<TrafficEntry> TrafficRing::entries() const {
    const std::lock_guard lock(mutex_);
    if (slots_.size() < capacity_) return slots_;
    std::vector<TrafficEntry> ordered(slots_.begin() + static_cast<std::ptrdiff_t>(next_),
                                      slots_.end());
    ordered.insert(ordered.end(), slots_.begin(),
                   slots_.begin() + static_cast<std::ptrdiff_t>(next_));
    return ordered;
}

uint64_t TrafficRing::pushed() const {
    const std::lock_guard lock(mutex_);
    return pushed_;
}

void TrafficRing::clear() {
    const std::lock_guard lock(mutex_);
    slots_.clear();
    next_ = 0;
}

}  // namespace zel
