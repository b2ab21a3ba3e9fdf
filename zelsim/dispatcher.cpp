#include "dispatcher.h"

namespace zel::sim {

Dispatcher::Dispatcher(RequestHandler& handler, LinkFaults& faults, ReplyQueue& queue,
                       std::function<int64_t()> nowMs)
    : handler_(handler), faults_(faults), queue_(queue), nowMs_(std::move(nowMs)) {}

LinkVerdict Dispatcher::onRequest(const codec::Frame& request, const Route& route,
                                  const std::string& linkKey) {
    const uint64_t count = countsRequests() ? ++requests_[linkKey] : 0;
    if (faults_.linkEnded(count)) return LinkVerdict::End;
    const bool ends = faults_.linkEnds(count);
    const auto forced = faults_.forcedError(request);
    const codec::Frame reply =
        forced ? handler_.errorReply(request, *forced) : handler_.handle(request);
    std::vector<uint8_t> bytes;
    if (!faults_.dropNextReply()) {
        bytes = codec::encodeFrame(reply);
        faults_.maybeCorrupt(bytes);
    }
    if (!bytes.empty() || ends)
        queue_.push(nowMs_() + faults_.settings().latencyMs, route, std::move(bytes), ends);
    return ends ? LinkVerdict::End : LinkVerdict::Continue;
}

}  // namespace zel::sim
