// SIGINT and SIGTERM close the main window the ordinary way, so the settings are saved and the
// connection closed when the monitor is stopped from a terminal or by the session.
#pragma once

class QWidget;

namespace zel {

// Call once the window is shown; the window is closed on the first such signal. A message box
// that is open then is answered as with Escape first, since it would otherwise hold the close
// back until somebody answered it. Before this call the signals keep their default action:
// during start-up there is nothing yet to save.
void closeOnTerminationSignals(QWidget& window);

}  // namespace zel
