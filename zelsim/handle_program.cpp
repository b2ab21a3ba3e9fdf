// Program download and upload.
#include "handlers.h"

namespace zel::sim {
namespace {

using codec::ByteReader;
using codec::ByteWriter;

Answer downloadBegin(ByteReader& in, ProgramStore& s) {
    const auto size = in.u32();
    if (!in.done()) return badArgument();
    return answerEmpty(s.downloadBegin(*size));
}

Answer downloadChunk(ByteReader& in, ProgramStore& s) {
    const auto offset = in.u32();
    if (!offset) return badArgument();
    return answerEmpty(s.downloadChunk(*offset, in.rest()));
}

Answer downloadEnd(ByteReader& in, ProgramStore& s) {
    const auto crc = in.u32();
    if (!in.done()) return badArgument();
    const auto r = s.downloadEnd(*crc);
    if (!r.ok()) return answerError(r.error);
    ByteWriter w;
    for (int32_t v : {r.value.checksum, r.value.bytes, r.value.errors, r.value.warnings}) w.i32(v);
    return answerBody(w);
}

Answer uploadBegin(ByteReader& in, ProgramStore& s) {
    if (!in.done()) return badArgument();
    const auto r = s.uploadBegin();
    ByteWriter w;
    w.u32(r.value.size);
    w.u32(r.value.crc);
    return answerBody(w);
}

Answer uploadChunk(ByteReader& in, ProgramStore& s) {
    const auto offset = in.u32();
    const auto length = in.u16();
    if (!in.done()) return badArgument();
    auto r = s.uploadChunk(*offset, *length);
    if (!r.ok()) return answerError(r.error);
    return {ZL_OK, std::move(r.value)};
}

}  // namespace

std::optional<Answer> handleProgramRequest(codec::Op op, ByteReader& in, HandlerContext& ctx) {
    switch (op) {
        case codec::Op::DownloadBegin:
            return downloadBegin(in, ctx.store);
        case codec::Op::DownloadChunk:
            return downloadChunk(in, ctx.store);
        case codec::Op::DownloadEnd:
            return downloadEnd(in, ctx.store);
        case codec::Op::UploadBegin:
            return uploadBegin(in, ctx.store);
        case codec::Op::UploadChunk:
            return uploadChunk(in, ctx.store);
        default:
            return std::nullopt;
    }
}

}  // namespace zel::sim
