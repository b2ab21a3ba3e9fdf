#include "request_handler.h"

#include "handlers.h"

namespace zel::sim {

RequestHandler::RequestHandler(Controller& controller, ProgramStore& store)
    : controller_(controller), store_(store) {}

codec::Frame RequestHandler::errorReply(const codec::Frame& request, ErrorCode error) const {
    codec::Frame reply;
    reply.type = codec::FrameType::Reply;
    reply.id = request.id;
    reply.opcode = request.opcode;
    reply.status = static_cast<uint16_t>(error);
    reply.source_node = request.target_node;
    reply.target_node = request.source_node;
    return reply;
}

codec::Frame RequestHandler::handle(const codec::Frame& request) {
    HandlerContext ctx{controller_, store_, raw_};
    codec::ByteReader in(request.body);
    const auto op = static_cast<codec::Op>(request.opcode);
    std::optional<Answer> answer = handleRegisterRequest(op, in, ctx);
    if (!answer) answer = handleWordRequest(op, in, ctx);
    if (!answer) answer = handleTableRequest(op, in, ctx);
    if (!answer) answer = handleProgramRequest(op, in, ctx);
    if (!answer) return errorReply(request, ZL_ERR_UNKNOWN_REQUEST);
    codec::Frame reply = errorReply(request, answer->error);
    if (answer->error == ZL_OK) reply.body = std::move(answer->body);
    return reply;
}

}  // namespace zel::sim
