// Waiting while the user interface stays alive.
#pragma once

#include <functional>

#include "common/event_pump.h"

namespace zel {

// The time source of Delay: the time of day in seconds, and a short idle pause between two
// rounds of events so the wait does not spin the processor.
struct DelayClock {
    std::function<double()> secondsSinceMidnight;
    std::function<void(double secondsLeft)> pause;
};

DelayClock systemDelayClock();

// Waits the given seconds, running pending events meanwhile. Returns at once when the time of
// day wraps past midnight during the wait.
void Delay(float seconds, const EventPump& pump, const DelayClock& clock = systemDelayClock());

}  // namespace zel
