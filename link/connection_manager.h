// Opening, configuring and re-opening the one controller connection.
#pragma once

#include "common/app_state.h"
#include "link/connection_ui.h"
#include "link/zel_library.h"

namespace zel {

class ConnectionManager {
public:
    ConnectionManager(AppState& state, ZelLibrary& library, ConnectionUi& ui);

    // Closes any open connection and opens a new one from the settings, reporting the outcome
    // in the status line and the window titles and arming the polling timers. Returns true
    // after a failure, false after a success; while the user has suspended monitoring it opens
    // nothing and returns false.
    bool CheckComm();

    // Reads the model, the resource counts and, where the model has them, the status and
    // configuration words. True when the model and counts could be read (LinkConfigured).
    bool ConfigZLComm();

private:
    bool closePrevious();
    bool openByKind();
    bool openZelNet();
    bool openUdp();
    bool openTcp();
    bool openSerial();
    bool searchBaudRate();
    bool readControllerDescription();
    void reportSuccess();
    bool reportFailure();
    void closeQuietly();
    void armStartTimer();

    AppState& state_;
    ZelLibrary& library_;
    ConnectionUi& ui_;
};

}  // namespace zel
