#include "delay.h"

#include <QThread>
#include <QTime>

namespace zel {

DelayClock systemDelayClock() {
    return {[] { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; },
            [] { QThread::msleep(5); }};
}

void Delay(float seconds, const EventPump& pump, const DelayClock& clock) {
    const double start = clock.secondsSinceMidnight();
    const double end = start + seconds;
    for (;;) {
        const double now = clock.secondsSinceMidnight();
        if (now >= end || now < start) return;
        pump();
        clock.pause();
    }
}

}  // namespace zel
