// Replies waiting for their time: latency is served from here, never by sleeping.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "route.h"

namespace zel::sim {

class ReplyQueue {
public:
    void push(int64_t dueMs, const Route& route, std::vector<uint8_t> bytes, bool endLink);
    // Delivers, in order, every reply due by nowMs.
    void deliverDue(int64_t nowMs);
    std::optional<int64_t> nextDue() const;
    size_t size() const { return pending_.size(); }

private:
    struct Pending {
        Route route;
        std::vector<uint8_t> bytes;
        bool endLink = false;
    };
    std::map<std::pair<int64_t, uint64_t>, Pending> pending_;
    uint64_t sequence_ = 0;
};

}  // namespace zel::sim
