#include "setup/setup_model.h"

#include "link/connection_caption.h"
#include "common/number_text.h"
#include "link/link_session.h"

namespace zel {
namespace {

// The polling tick runs almost at once after the dialog closes, so it reconnects without delay.
constexpr int kRestartIntervalMs = 10;

}  // namespace

SetupModel::SetupModel(AppState& state, ZelLibrary& library, SetupHost& host)
    : state_(state),
      host_(host),
      connection_(state, host),
      configuration_(state, library, host),
      network_(state, library, host, connection_) {}

void SetupModel::load() {
    if (!loaded_) {
        connection_.reset();
        network_.reset();
        loaded_ = true;
    }
    saved_ = SavedConnection::of(state_.settings);
    host_.stopPollingTimer();
    connection_.load();
    configuration_.fill();
}

void SetupModel::exit() {
    if (!loaded_) return;
    connection_.storeOnExit();
    state_.flags.ReconnectPending = true;
    state_.flags.SetupOpen = false;
    host_.setMessage(QStringLiteral("Establishing Connection"));
    state_.flags.CommErrorFlag = true;
    unload();
}

void SetupModel::unload() {
    if (!loaded_) return;
    loaded_ = false;
    ConnectionSettings& s = state_.settings;
    state_.flags.SetupOpen = false;
    s.TargetNode = roundToInt32(val(connection_.text(SetupField::Text2)));
    state_.flags.ReconnectPending = true;
    host_.enableReconnectTimer();
    s.AutoBaudSearch = connection_.searchChecked();
    state_.connection.ConnectionCaption = setupConnectionCaption(s);
    host_.setMainTitle(kMainWindowTitle + state_.connection.ConnectionCaption);
    if (connectionMustBeRemade(saved_, s)) linkLost(state_);
    // While the user has suspended monitoring the polling tick stays off.
    if (state_.flags.UserSuspended) return;
    if (state_.flags.NoCommunication) host_.setMessage(QStringLiteral("Reestablishing Connection"));
    host_.startPollingTimer(kRestartIntervalMs);
}

}  // namespace zel
