#include "link/link_session.h"

#include "link/link_claim.h"

namespace zel {

LinkState linkState(const AppState& state) {
    const MonitoringFlags& f = state.flags;
    if (!linkFree(state)) return LinkState::Claimed;
    if (!f.NoCommunication) return LinkState::Connected;
    if (f.UserSuspended) return LinkState::Suspended;
    if (f.ReconnectPending) return LinkState::Reconnecting;
    return LinkState::Lost;
}

void linkOpened(AppState& state, int32_t handle) {
    state.connection.CommHandle = handle > 0 ? handle : 0;
}

void linkWorks(AppState& state) { state.flags.NoCommunication = false; }

void linkLost(AppState& state) { state.flags.NoCommunication = true; }

void linkAttempted(AppState& state, CommCheck outcome) {
    state.flags.NoCommunication = outcome != CommCheck::Connected;
}

bool closeLink(AppState& state, ZelLibrary& library, const std::function<void()>& refused) {
    int32_t& handle = state.connection.CommHandle;
    if (handle == 0) return true;
    const bool closed = library.ZlCloseConnection(handle) == 1;
    if (!closed && refused) refused();
    handle = 0;
    return closed;
}

void forgetLink(AppState& state) { state.connection.CommHandle = 0; }

}  // namespace zel
