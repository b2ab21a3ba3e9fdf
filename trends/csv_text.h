// The CSV text the log and the export share: times in ISO 8601 UTC with milliseconds, names in
// double quotes with their quotes doubled.
#pragma once

#include <QByteArray>
#include <QString>

namespace zel {

QByteArray csvTime(qint64 msecs);
QByteArray csvQuoted(const QString& name);

}  // namespace zel
