// Request handlers, one group per file. Each reads its request body with a bounds-checked
// reader and answers with an error code and a reply body; a body with missing or extra bytes
// is ZL_ERR_BAD_ARGUMENT.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "controller.h"
#include "program_store.h"
#include "protocol.h"
#include "raw_status.h"
#include "wire.h"

namespace zel::sim {

struct Answer {
    ErrorCode error = ZL_OK;
    std::vector<uint8_t> body;
};

struct HandlerContext {
    Controller& controller;
    ProgramStore& store;
    RawStatusResponder& raw;
};

inline Answer answerError(ErrorCode e) {
    return {e, {}};
}
inline Answer answerBody(codec::ByteWriter& w) {
    return {ZL_OK, w.take()};
}
inline Answer answerEmpty(ErrorCode e = ZL_OK) {
    return {e, {}};
}
inline Answer badArgument() {
    return answerError(ZL_ERR_BAD_ARGUMENT);
}

// Each returns nothing for an opcode outside its group.
std::optional<Answer> handleRegisterRequest(codec::Op op, codec::ByteReader& in,
                                            HandlerContext& ctx);
std::optional<Answer> handleWordRequest(codec::Op op, codec::ByteReader& in, HandlerContext& ctx);
std::optional<Answer> handleTableRequest(codec::Op op, codec::ByteReader& in, HandlerContext& ctx);
std::optional<Answer> handleProgramRequest(codec::Op op, codec::ByteReader& in,
                                           HandlerContext& ctx);

}  // namespace zel::sim
