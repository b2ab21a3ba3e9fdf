// Registers, register ranges, V-registers and flags.
#include "handlers.h"

namespace zel::sim {
namespace {

using codec::ByteReader;
using codec::ByteWriter;

Answer getRegister(ByteReader& in, Controller& c) {
    const auto n = in.i32();
    if (!in.done()) return badArgument();
    const auto r = c.getRegister(*n);
    if (!r.ok()) return answerError(r.error);
    ByteWriter w;
    w.i32(r.value);
    return answerBody(w);
}

Answer putRegister(ByteReader& in, Controller& c) {
    const auto n = in.i32();
    const auto v = in.i32();
    if (!in.done()) return badArgument();
    return answerEmpty(c.putRegister(*n, *v));
}

// Registers past the last one read as 0, so block reads that end past it still succeed.
Answer getRegisterRange(ByteReader& in, Controller& c) {
    if (!c.model().blockReads) return answerError(ZL_ERR_UNKNOWN_REQUEST);
    const auto first = in.i32();
    const auto count = in.u16();
    if (!in.done() || *count < 1 || *count > codec::kMaxRegisterRange) return badArgument();
    if (*first < 1 || *first > kRegisterLimit) return answerError(ZL_ERR_ILLEGAL_REGISTER);
    int32_t values[codec::kMaxRegisterRange] = {};
    for (int i = 0; i < *count; ++i) {
        if (*first + i > kRegisterLimit) break;
        const auto r = c.getRegister(*first + i);
        if (!r.ok()) return answerError(r.error);
        values[i] = r.value;
    }
    ByteWriter w;
    w.i32s({values, *count});
    return answerBody(w);
}

Answer getVRegister(ByteReader& in, Controller& c) {
    const auto n = in.i32();
    if (!in.done()) return badArgument();
    const auto r = c.getVRegister(*n);
    if (!r.ok()) return answerError(r.error);
    ByteWriter w;
    w.f64(r.value);
    return answerBody(w);
}

Answer setVRegister(ByteReader& in, Controller& c) {
    const auto n = in.i32();
    const auto v = in.f64();
    if (!in.done()) return badArgument();
    return answerEmpty(c.setVRegister(*n, *v));
}

Answer putFlag(ByteReader& in, Controller& c) {
    const auto n = in.i32();
    const auto v = in.i16();
    if (!in.done()) return badArgument();
    return answerEmpty(c.putFlag(*n, *v));
}

}  // namespace

std::optional<Answer> handleRegisterRequest(codec::Op op, ByteReader& in, HandlerContext& ctx) {
    switch (op) {
        case codec::Op::GetRegister:
            return getRegister(in, ctx.controller);
        case codec::Op::PutRegister:
            return putRegister(in, ctx.controller);
        case codec::Op::GetRegisterRange:
            return getRegisterRange(in, ctx.controller);
        case codec::Op::GetVRegister:
            return getVRegister(in, ctx.controller);
        case codec::Op::SetVRegister:
            return setVRegister(in, ctx.controller);
        case codec::Op::PutFlag:
            return putFlag(in, ctx.controller);
        default:
            return std::nullopt;
    }
}

}  // namespace zel::sim
