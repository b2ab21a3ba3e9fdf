// The link's state and the named operations on it. NoCommunication (no working link: the
// polling tick makes it again) and CommHandle (the open connection, 0 for none) are written
// here and nowhere else, so each change of the link says what happened to it.
#pragma once

#include <cstdint>
#include <functional>

#include "common/app_state.h"
#include "link/connection_manager.h"
#include "link/zel_library.h"

namespace zel {

// The link as one value. A transfer's claim comes first; otherwise a working link is
// Connected, and one that does not work is Suspended by the user, Reconnecting for the setup
// dialog, or else Lost.
enum class LinkState { Connected, Lost, Reconnecting, Suspended, Claimed };

// What the link is now, for code that acts only on a working, unclaimed link.
LinkState linkState(const AppState& state);

// An open call answered `handle`: it is recorded, and a failed open (≤ 0) leaves none behind.
void linkOpened(AppState& state, int32_t handle);
// The controller answered over the link: the polling tick reads through it.
void linkWorks(AppState& state);
// The link failed, or a change needs a new one: the polling tick makes it again.
void linkLost(AppState& state);
// An attempt to make the link ended: anything but a working link counts as lost.
void linkAttempted(AppState& state, CommCheck outcome);

// Closes the open connection, if any, and forgets its handle whatever the library answers, so
// no later call stumbles over a dead one. `refused` runs when the library refuses the close,
// while the handle is still recorded (its error is fetched for that handle). True when nothing
// was open or the connection closed.
bool closeLink(AppState& state, ZelLibrary& library, const std::function<void()>& refused = {});
// Forgets the handle without closing it, for a caller that closed the connection itself and
// keeps the handle when the library refuses.
void forgetLink(AppState& state);

}  // namespace zel
