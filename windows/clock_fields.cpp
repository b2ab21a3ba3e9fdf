#include "windows/clock_fields.h"

#include <QLocale>

#include "settings/window_placement.h"

namespace zel {

ClockValues clockSyncValues(const QDateTime& now) {
    const QDate date = now.date();
    const QTime time = now.time();
    // QDate counts Monday as 1 and Sunday as 7.
    const int dayOfWeek = date.dayOfWeek() % 7 + 1;
    return {time.second(), time.minute(),     time.hour(), date.day(),
            date.month(),  date.year() % 100, dayOfWeek};
}

QString generalDateText(const QDateTime& now) {
    return QLocale().toString(now.date(), QLocale::ShortFormat) + u' ' +
           now.time().toString(QStringLiteral("hh:mm:ss"));
}

QPoint clockWindowPosition(const QPoint& mainTopLeft, double dpi) {
    const int offset = settings::twipsToPixels(1000, dpi);
    return mainTopLeft + QPoint(offset, offset);
}

}  // namespace zel
