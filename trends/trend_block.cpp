#include "trends/trend_block.h"

#include <QDateTime>
#include <optional>
#include <vector>

namespace zel {
namespace {

std::optional<int32_t> readValue(PollContext& context, const TrendSource& source) {
    const int32_t handle = context.state.connection.CommHandle;
    int32_t value = 0;
    int32_t result = 0;
    if (source.kind == TrendSource::Kind::TableCell) {
        QVector<int32_t> cells;
        result = context.library.ZlGetDataTableRow(handle, source.number, source.index,
                                                   source.index, cells);
        if (result == 1 && !cells.isEmpty()) value = cells.front();
    } else {
        result = context.library.ZlGetRegister(handle, source.number, value);
        if (source.kind == TrendSource::Kind::Bit) value = (value >> source.index) & 1;
    }
    if (result == 1) return value;
    context.readFailed();
    return std::nullopt;
}

}  // namespace

bool TrendBlock::startLogging(const QString& path) {
    QStringList names;
    for (const TrendSeries& series : set_.series()) names << series.item.name;
    return log_.start(path, names);
}

void TrendBlock::refresh(PollContext& context) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    std::vector<std::optional<int32_t>> values;
    values.reserve(set_.series().size());
    for (size_t i = 0; i < set_.series().size(); ++i) {
        values.push_back(readValue(context, set_.series()[i].item.source));
        if (values.back()) set_.record(i, {now, *values.back()});
        if (!context.linkUsable()) return;
    }
    log_.append(now, values);
}

}  // namespace zel
