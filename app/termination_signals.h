// SIGINT and SIGTERM close the main window the ordinary way, so the settings are saved and the
// connection closed when the monitor is stopped from a terminal or by the session.
#pragma once

class QWidget;

namespace zel {

// Call once, after the window exists; the window is closed on the first such signal.
void closeOnTerminationSignals(QWidget& window);

}  // namespace zel
