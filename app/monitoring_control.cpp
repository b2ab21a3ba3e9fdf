#include "app/monitoring_control.h"

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
    state_.flags.NoCommunication = true;
    view_.processEvents();
    view_.showSuspendButton(kResumeCaption, StateColour::Green);
    const QString text = QStringLiteral("Controller Monitoring Suspended");
    setMessage_(text);
    view_.setDdeMessage(text);
    view_.enableRunButtons(false);
    // Events that ran above may have restarted the tick.
    view_.enablePollingTimer(false);
    view_.processEvents();
    if (state_.connection.CommHandle != 0) {
        if (library_.ZlCloseConnection(state_.connection.CommHandle) != 1)
            view_.showWarning(QStringLiteral("Failed to CLOSE network."));
        state_.connection.CommHandle = 0;
    }
}

void MonitoringControl::resume() {
    state_.connection.FailedConnections = -1;
    view_.showSuspendButton(kSuspendCaption, StateColour::Red);
    state_.flags.UserSuspended = false;
    view_.enableRunButtons(true);
    state_.flags.NoCommunication = true;
    view_.enablePollingTimer(true);
    polling_.tick();
}

void MonitoringControl::reconnectTick() {
    if (!state_.flags.ReconnectPending) return;
    setMessage_({});
    connection_.resolveHost();
    if (!suspended()) {
        state_.flags.NoCommunication = false;
        // A failed attempt must leave the tick reconnecting, as after any lost link.
        state_.flags.NoCommunication = connection_.CheckComm() != CommCheck::Connected;
    } else {
        resume();
    }
    state_.flags.ReconnectPending = false;
    view_.enableReconnectTimer(false);
}

}  // namespace zel
