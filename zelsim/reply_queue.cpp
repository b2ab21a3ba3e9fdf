#include "reply_queue.h"

namespace zel::sim {

void ReplyQueue::push(int64_t dueMs, const Route& route, std::vector<uint8_t> bytes, bool endLink) {
    pending_.emplace(std::make_pair(dueMs, sequence_++), Pending{route, std::move(bytes), endLink});
}

void ReplyQueue::deliverDue(int64_t nowMs) {
    while (!pending_.empty() && pending_.begin()->first.first <= nowMs) {
        Pending p = std::move(pending_.begin()->second);
        pending_.erase(pending_.begin());
        p.route.sink->deliver(p.route, p.bytes, p.endLink);
    }
}

std::optional<int64_t> ReplyQueue::nextDue() const {
    if (pending_.empty()) return std::nullopt;
    return pending_.begin()->first.first;
}

}  // namespace zel::sim
