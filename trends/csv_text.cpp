#include "trends/csv_text.h"

#include <QDateTime>

namespace zel {

QByteArray csvTime(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC).toString(Qt::ISODateWithMs).toLatin1();
}

QByteArray csvQuoted(const QString& name) {
    QByteArray text = name.toUtf8();
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

}  // namespace zel
