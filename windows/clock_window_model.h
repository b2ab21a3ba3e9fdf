// The clock window's rules: its part of the polling tick (show the controller's clock registers,
// carry out a pending sync, show the PC's clock) and its open flag. No widgets.
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <functional>

#include "windows/clock_fields.h"
#include "link/poll_block.h"

namespace zel {

class ClockWindowModel final : public PollBlock {
public:
    using Clock = std::function<QDateTime()>;

    struct Display {
        // In register order (see clock_fields.h); "*" where a read failed.
        std::array<QString, kClockFields> fields;
        QString systemClock;
    };
    using DisplaySink = std::function<void(const Display&)>;

    // `now` is the PC's clock; tests pass a fixed one.
    ClockWindowModel(AppState& state, DisplaySink show, Clock now = &QDateTime::currentDateTime);

    void load() { state_.flags.windows.RtcFormOpen = true; }
    void unload() { state_.flags.windows.RtcFormOpen = false; }
    // "Sync. with System Clock": the next tick that refreshes the window sets the clock.
    void requestSync() { RtcSyncRequest = true; }
    bool syncPending() const { return RtcSyncRequest; }

    bool isOpen() const override { return state_.flags.windows.RtcFormOpen; }
    void refresh(PollContext& context) override;

private:
    void readFields(PollContext& context, Display& display);
    void writeClock(PollContext& context, const ClockValues& values);
    void put(PollContext& context, int32_t number, int32_t value);

    AppState& state_;
    DisplaySink show_;
    Clock now_;
    bool RtcSyncRequest = false;
};

}  // namespace zel
