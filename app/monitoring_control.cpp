#include "app/monitoring_control.h"

#include "link/link_session.h"

namespace zel {

MonitoringControl::MonitoringControl(AppState& state, ZelLibrary& library,
                                     ConnectionManager& connection, PollingCycle& polling,
                                     MainView& view, MessageSink setMessage)
    : state_(state), library_(library), connection_(connection), polling_(polling), view_(view),
      setMessage_(std::move(setMessage)) {}

void MonitoringControl::toggle() {
    if (suspended())
        resume();
    else
        suspend();
}

void MonitoringControl::suspend() {
    view_.enablePollingTimer(false);
    state_.flags.UserSuspended = true;
    linkLost(state_);
    view_.processEvents();
    view_.showSuspendButton(kResumeCaption, StateColour::Green);
    const QString text = QStringLiteral("Controller Monitoring Suspended");
    setMessage_(text);
    view_.setDdeMessage(text);
    view_.enableRunButtons(false);
    // Events that ran above may have restarted the tick.
    view_.enablePollingTimer(false);
    view_.processEvents();
    closeLink(state_, library_,
              [&] { view_.showWarning(QStringLiteral("Failed to CLOSE network.")); });
}

void MonitoringControl::resume() {
    state_.connection.FailedConnections = -1;
    view_.showSuspendButton(kSuspendCaption, StateColour::Red);
    state_.flags.UserSuspended = false;
    view_.enableRunButtons(true);
    linkLost(state_);
    view_.enablePollingTimer(true);
    polling_.tick();
}

void MonitoringControl::reconnectTick() {
    if (!state_.flags.ReconnectPending) return;
    setMessage_({});
    connection_.resolveHost();
    if (!suspended()) {
        linkWorks(state_);
        // A failed attempt must leave the tick reconnecting, as after any lost link.
        linkAttempted(state_, connection_.CheckComm());
    } else {
        resume();
    }
    state_.flags.ReconnectPending = false;
    view_.enableReconnectTimer(false);
}

}  // namespace zel
