#include "trends/trend_export.h"

#include <QSaveFile>
#include <limits>

#include "trends/csv_text.h"

namespace zel {

QByteArray trendCsv(const std::vector<TrendSeries>& series) {
    QByteArray text = "time";
    for (const TrendSeries& s : series) text += ',' + csvQuoted(s.item.name);
    text += '\n';
    // Merges the histories by time, each walked once.
    std::vector<size_t> next(series.size(), 0);
    for (;;) {
        qint64 now = std::numeric_limits<qint64>::max();
        for (size_t i = 0; i < series.size(); ++i)
            if (next[i] < series[i].history.size())
                now = std::min(now, series[i].history[next[i]].msecs);
        if (now == std::numeric_limits<qint64>::max()) return text;
        text += csvTime(now);
        for (size_t i = 0; i < series.size(); ++i) {
            text += ',';
            const auto& h = series[i].history;
            if (next[i] < h.size() && h[next[i]].msecs == now)
                text += QByteArray::number(h[next[i]++].value);
        }
        text += '\n';
    }
}

QString exportTrendCsv(const QString& path, const std::vector<TrendSeries>& series) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(trendCsv(series)) < 0 || !file.commit())
        return QStringLiteral("Could not export the trend to %1: %2.")
            .arg(path, file.errorString());
    return QStringLiteral("Trend exported to %1.").arg(path);
}

}  // namespace zel
