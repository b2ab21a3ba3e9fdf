// Opening, configuring and re-opening the one controller connection.
#pragma once

#include <optional>

#include "common/app_state.h"
#include "link/connection_ui.h"
#include "link/zel_library.h"

namespace zel {

// How a connection attempt ended: a working link, a failure (the polling tick retries),
// nothing tried because the user has suspended monitoring, or nothing tried because another
// attempt is under way or a transfer holds the link (the link is not usable yet either way).
enum class CommCheck { Connected, Failed, Suspended, Busy };

class ConnectionManager {
public:
    ConnectionManager(AppState& state, ZelLibrary& library, ConnectionUi& ui);

    // Closes any open connection and opens a new one from the settings, reporting the outcome
    // in the status line and the window titles and arming the polling timers. While the user
    // has suspended monitoring it only closes the previous connection. An attempt lets events
    // run, so a timer may ask for another one meanwhile; that one, like one asked for while a
    // transfer holds the link, touches nothing and answers Busy.
    CommCheck CheckComm();

    // Turns the host the user typed into the address the next attempt opens (ControllerIP,
    // HostIsIP), for a start-up or a reconnection the setup dialog asked for.
    void resolveHost();

    // The caption the main window starts with; for a network link the host is resolved first.
    QString startupCaption();

    // Reads the model, the resource counts and, where the model has them, the status and
    // configuration words. True when the model and counts could be read (LinkConfigured).
    bool ConfigZLComm();

private:
    CommCheck attempt();
    bool closePrevious();
    bool openByKind();
    bool openZelNet();
    bool openUdp();
    bool openTcp();
    bool openSerial();
    std::optional<int32_t> controllerAddress();
    bool searchBaudRate();
    bool readControllerDescription();
    void reportSuccess();
    CommCheck reportFailure();
    void armStartTimer();
    // Each step's outcome; a failure keeps its reason in LibError for the status line.
    bool opened(int32_t handle);
    bool succeeded(int32_t result);
    bool failedCall();
    bool failedWithoutCall(const QString& reason);

    AppState& state_;
    ZelLibrary& library_;
    ConnectionUi& ui_;
    bool attempting_ = false;
};

}  // namespace zel
