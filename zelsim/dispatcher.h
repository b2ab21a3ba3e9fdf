// Between the transports and the request handler: counts requests per link, applies the
// injected link faults, and queues each reply for its due time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "frame.h"
#include "link_faults.h"
#include "reply_queue.h"
#include "request_handler.h"
#include "route.h"

namespace zel::sim {

enum class LinkVerdict { Continue, End };

class Dispatcher {
public:
    Dispatcher(RequestHandler& handler, LinkFaults& faults, ReplyQueue& queue,
               std::function<int64_t()> nowMs);

    // A request frame from a link; `linkKey` names the link for the close-after count.
    // End: the link's request budget is spent, the transport should read no more from it.
    LinkVerdict onRequest(const codec::Frame& request, const Route& route,
                          const std::string& linkKey);
    void forgetLink(const std::string& linkKey) { requests_.erase(linkKey); }
    // Only a link that ends after a number of requests needs them counted; otherwise a transport
    // may pass an empty key and save making one for every request.
    bool countsRequests() const { return faults_.settings().closeAfter > 0; }

private:
    RequestHandler& handler_;
    LinkFaults& faults_;
    ReplyQueue& queue_;
    std::function<int64_t()> nowMs_;
    std::map<std::string, uint64_t> requests_;
};

}  // namespace zel::sim
