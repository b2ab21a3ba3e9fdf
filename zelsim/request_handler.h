// Turns a decoded request frame into its reply frame.
#pragma once

#include <cstdint>

#include "controller.h"
#include "frame.h"
#include "program_store.h"
#include "raw_status.h"

namespace zel::sim {

class RequestHandler {
public:
    RequestHandler(Controller& controller, ProgramStore& store);

    // The reply carries the request's id and opcode and comes from the node the request was
    // sent to (on ZelNET only requests for our node get here; other links address node 0),
    // back to the requester's node. Its status is 0 or an error code, with an empty body on
    // error.
    codec::Frame handle(const codec::Frame& request);
    // A reply with the given error, for requests answered without being carried out.
    codec::Frame errorReply(const codec::Frame& request, ErrorCode error) const;

private:
    Controller& controller_;
    ProgramStore& store_;
    RawStatusResponder raw_;
};

}  // namespace zel::sim
