// Exporting the plotted series to CSV, in the log's layout: a header of the names, then one
// line an instant, oldest first, a series without a sample at that instant leaving its field
// empty.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "trends/trend_set.h"

namespace zel {

QByteArray trendCsv(const std::vector<TrendSeries>& series);

// Writes the file whole or not at all; answers the status text of the outcome.
QString exportTrendCsv(const QString& path, const std::vector<TrendSeries>& series);

}  // namespace zel
