#include "windows/clock_window_model.h"

#include "link/lib_error.h"

namespace zel {

ClockWindowModel::ClockWindowModel(AppState& state, DisplaySink show, Clock now)
    : state_(state), show_(std::move(show)), now_(std::move(now)) {}

void ClockWindowModel::refresh(PollContext& context) {
    Display display;
    readFields(context, display);
    if (RtcSyncRequest) {
        RtcSyncRequest = false;
        writeClock(context, clockSyncValues(now_()));
    }
    display.systemClock = generalDateText(now_());
    show_(display);
}

void ClockWindowModel::readFields(PollContext& context, Display& display) {
    for (int i = 0; i < kClockFields; ++i) {
        int32_t value = 0;
        QString& field = display.fields[static_cast<size_t>(i)];
        if (context.library.ZlGetRegister(state_.connection.CommHandle, kClockFirstRegister + i,
                                          value) == 1) {
            field = QString::number(value);
        } else {
            field = QStringLiteral("*");
            context.readFailed();
        }
    }
}

// Every write is tried even when one before it failed.
void ClockWindowModel::writeClock(PollContext& context, const ClockValues& values) {
    const bool latched = state_.connection.ModelCode == kClockLatchModel;
    if (latched) put(context, kClockLatchRegister, 1);
    for (int i = 0; i < kClockFields; ++i)
        put(context, kClockFirstRegister + i, values[static_cast<size_t>(i)]);
    if (latched) put(context, kClockLatchRegister, 0);
}

void ClockWindowModel::put(PollContext& context, int32_t number, int32_t value) {
    if (context.library.ZlPutRegister(state_.connection.CommHandle, number, value) != 1)
        fetchLibError(context.library, state_);
}

}  // namespace zel
