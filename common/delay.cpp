#include "common/delay.h"

#include <QThread>
#include <QTime>
#include <algorithm>

namespace zel {

DelayClock systemDelayClock() {
    return {[] { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; },
            // Short idle pauses, never past the end of the wait. The end may already have
            // passed when the pause is asked for; a negative wait must not become a huge one.
            [](double left) {
                QThread::usleep(static_cast<unsigned long>(std::clamp(left, 0.0, 0.005) * 1e6));
            }};
}

void Delay(float seconds, const EventPump& pump, const DelayClock& clock) {
    const double start = clock.secondsSinceMidnight();
    const double end = start + seconds;
    for (;;) {
        const double now = clock.secondsSinceMidnight();
        if (now >= end || now < start) return;
        pump();
        clock.pause(end - clock.secondsSinceMidnight());
    }
}

}  // namespace zel
