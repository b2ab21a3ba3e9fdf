// Suspending and resuming monitoring, and the reconnection the setup dialog asks for.
#pragma once

#include "common/app_state.h"
#include "link/connection_manager.h"
#include "app/main_view.h"
#include "app/polling_cycle.h"
#include "link/zel_library.h"

namespace zel {

inline const QString kSuspendCaption = QStringLiteral("Suspend Monitoring");
inline const QString kResumeCaption = QStringLiteral("Resume Monitoring");

class MonitoringControl {
public:
    using MessageSink = std::function<void(const QString&)>;

    MonitoringControl(AppState& state, ZelLibrary& library, ConnectionManager& connection,
                      PollingCycle& polling, MainView& view, MessageSink setMessage);

    // The suspend button: suspends while monitoring runs, resumes while it is suspended.
    void toggle();
    void suspend();
    void resume();
    bool suspended() const { return state_.flags.UserSuspended; }

    // Timer2: a reconnection requested by the setup dialog.
    void reconnectTick();

private:
    AppState& state_;
    ZelLibrary& library_;
    ConnectionManager& connection_;
    PollingCycle& polling_;
    MainView& view_;
    MessageSink setMessage_;
};

}  // namespace zel
