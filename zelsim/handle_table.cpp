// The data table: dimensions and rows.
#include "handlers.h"

namespace zel::sim {
namespace {

using codec::ByteReader;
using codec::ByteWriter;

Answer tableDim(ByteReader& in, const DataTable& t) {
    if (!in.done()) return badArgument();
    ByteWriter w;
    w.i32(t.rows() > 0 ? t.rows() : 0);
    w.i32(t.rows() > 0 ? t.columns() : 0);
    return answerBody(w);
}

Answer getRow(ByteReader& in, const DataTable& t) {
    const auto row = in.i32();
    const auto first = in.i32();
    const auto last = in.i32();
    if (!in.done()) return badArgument();
    const auto r = t.read(*row, *first, *last);
    if (!r.ok()) return answerError(r.error);
    ByteWriter w;
    for (uint16_t v : r.value) w.u16(v);
    return answerBody(w);
}

Answer putRow(ByteReader& in, DataTable& t) {
    const auto row = in.i32();
    const auto first = in.i32();
    const auto last = in.i32();
    if (!in.ok()) return badArgument();
    if (ErrorCode e = t.check(*row, *first, *last)) return answerError(e);
    const size_t count = static_cast<size_t>(*last - *first + 1);
    if (in.remaining() != 2 * count) return badArgument();
    std::vector<uint16_t> values;
    for (size_t i = 0; i < count; ++i) values.push_back(*in.u16());
    return answerEmpty(t.write(*row, *first, values));
}

}  // namespace

std::optional<Answer> handleTableRequest(codec::Op op, ByteReader& in, HandlerContext& ctx) {
    DataTable& t = ctx.controller.table();
    switch (op) {
        case codec::Op::GetTableDim:
            return tableDim(in, t);
        case codec::Op::GetTableRow:
            return getRow(in, t);
        case codec::Op::PutTableRow:
            return putRow(in, t);
        default:
            return std::nullopt;
    }
}

}  // namespace zel::sim
