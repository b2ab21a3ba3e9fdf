// Status and configuration words, model and counts, task banks and raw status packets.
#include "handlers.h"
#include "task_bank.h"

namespace zel::sim {
namespace {

using codec::ByteReader;
using codec::ByteWriter;

constexpr uint8_t kRawPacketKind = 20;

Answer words(std::initializer_list<int32_t> values) {
    ByteWriter w;
    for (int32_t v : values) w.i32(v);
    return answerBody(w);
}

Answer readOnly(ByteReader& in, std::initializer_list<int32_t> values) {
    if (!in.done()) return badArgument();
    return words(values);
}

Answer putWord(ByteReader& in, ErrorCode (Controller::*put)(int32_t), Controller& c) {
    const auto v = in.i32();
    if (!in.done()) return badArgument();
    return answerEmpty((c.*put)(*v));
}

Answer taskBankAnswer(ByteReader& in, Controller& c) {
    const auto bank = in.i32();
    if (!in.done()) return badArgument();
    const auto r = taskBank(c, *bank);
    if (!r.ok()) return answerError(r.error);
    ByteWriter w;
    for (int32_t v : r.value) w.i32(v);
    return answerBody(w);
}

Answer sendData(ByteReader& in, HandlerContext& ctx) {
    const auto kind = in.u8();
    if (!kind || *kind != kRawPacketKind) return badArgument();
    const auto packet = in.rest();
    if (packet.empty() || packet.size() > static_cast<size_t>(codec::kMaxRawPacket))
        return badArgument();
    auto r = ctx.raw.answer(packet, ctx.controller);
    if (!r.ok()) return answerError(r.error);
    return {ZL_OK, std::move(r.value)};
}

}  // namespace

std::optional<Answer> handleWordRequest(codec::Op op, ByteReader& in, HandlerContext& ctx) {
    Controller& c = ctx.controller;
    const ModelInfo& m = c.model();
    switch (op) {
        case codec::Op::GetStatus:
            return readOnly(in, {c.status()});
        case codec::Op::PutStatus:
            return putWord(in, &Controller::putStatus, c);
        case codec::Op::GetConfig:
            return readOnly(in, {c.config()});
        case codec::Op::PutConfig:
            return putWord(in, &Controller::putConfig, c);
        case codec::Op::GetModel:
            return readOnly(in, {m.code, m.second});
        case codec::Op::GetIoCount:
            return readOnly(in, {m.io.flags, m.io.inputs, m.io.outputs, m.io.steppers, m.io.servos,
                                 m.io.analogIns, m.io.analogOuts});
        case codec::Op::GetMiscIoCount:
            return readOnly(
                in, {m.misc.protoBoards, m.misc.hsCounters, m.misc.thumbwheels, m.misc.displays});
        case codec::Op::GetTaskBank:
            return taskBankAnswer(in, c);
        case codec::Op::SendData:
            return sendData(in, ctx);
        default:
            return std::nullopt;
    }
}

}  // namespace zel::sim
