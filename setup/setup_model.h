// The connection setup dialog's rules, without widgets: opening with the current settings,
// closing with Exit or by any other means, and the three frames that make up the dialog.
#pragma once

#include "common/app_state.h"
#include "setup/configuration_frame.h"
#include "setup/connection_change.h"
#include "setup/connection_frame.h"
#include "setup/network_addresses.h"
#include "setup/setup_host.h"
#include "link/zel_library.h"

namespace zel {

class SetupModel {
public:
    SetupModel(AppState& state, ZelLibrary& library, SetupHost& host);

    // The load steps: remember the settings for the comparison on close, stop polling, show
    // the settings and what is known of the controller. Run again, it shows the settings anew.
    void load();
    // The Exit button: copies the fields into the settings, asks for a new connection, closes.
    void exit();
    // Closing by any means: builds the caption, decides whether the connection must be made
    // again and restarts polling. Does nothing when the dialog is not loaded.
    void unload();
    bool isLoaded() const { return loaded_; }

    ConnectionFrame& connection() { return connection_; }
    ConfigurationFrame& configuration() { return configuration_; }
    NetworkAddresses& network() { return network_; }

private:
    AppState& state_;
    SetupHost& host_;
    ConnectionFrame connection_;
    ConfigurationFrame configuration_;
    NetworkAddresses network_;
    SavedConnection saved_;
    bool loaded_ = false;
};

}  // namespace zel
