// SIGINT and SIGTERM end the monitor within a second at any moment of its run: the main window
// is closed the ordinary way, so the settings are saved and the connection closed, and whatever
// has not finished within the grace period is cut short by the signal's own action.
#pragma once

class QWidget;

namespace zel {

// How long the ordinary close may take after the first signal before the signal's default
// action ends the process; a second signal ends it at once.
inline constexpr int kTerminationGraceMs = 800;

// Call once the application object exists. From then on the first signal answers every message
// box as with Escape, the open ones and those that open later (a shutdown that cannot save its
// settings reports it in boxes), so nothing waits for an answer. Only the first call counts.
void watchTerminationSignals(int graceMs = kTerminationGraceMs);

// Call once the window is shown: the window is closed on the first signal, at once if one came
// during start-up. The open message boxes return to their callers first, since a box would
// otherwise hold the close back. Calls watchTerminationSignals() if that was not done.
void closeOnTerminationSignals(QWidget& window);

}  // namespace zel
