#include "app/run_control.h"

#include "link/lib_error.h"
#include "link/link_claim.h"

namespace zel {
namespace {

constexpr int32_t kStoppedBit = 1;
constexpr int32_t kFreshResetBit = 8;

}  // namespace

RunControl::RunControl(AppState& state, ZelLibrary& library, MainView& view)
    : state_(state), library_(library), view_(view) {}

bool RunControl::supportsRunCommands(int32_t modelCode) { return modelCode == 3 || modelCode >= 5; }

// A command given while a transfer holds the link is refused, not queued behind it.
bool RunControl::confirmed(const QString& question) {
    if (!view_.askYesNo(question) || state_.flags.NoCommunication) return false;
    if (linkFree(state_)) return true;
    view_.showPlainMessage(kLinkClaimedMessage);
    return false;
}

bool RunControl::readStatus(int32_t& status) {
    return library_.ZlGetStatus(state_.connection.CommHandle, status) == 1;
}

void RunControl::start() {
    const QString failed = QStringLiteral("Failed to execute START command!");
    if (!confirmed(QStringLiteral("Are you sure you want to START the controller?"))) return;
    if (!supportsRunCommands(state_.connection.ModelCode)) return view_.showPlainMessage(failed);
    int32_t status = 0;
    // A controller that already runs is left alone.
    if (!readStatus(status) || !(status & kStoppedBit)) return;
    if (library_.ZlPutStatus(state_.connection.CommHandle, status & ~kFreshResetBit) != 1)
        view_.showPlainMessage(failed);
}

void RunControl::stop() {
    const QString failed = QStringLiteral("Failed to execute STOP command!");
    if (!confirmed(QStringLiteral("Are you sure you want to STOP the controller?"))) return;
    if (!supportsRunCommands(state_.connection.ModelCode)) return view_.showPlainMessage(failed);
    int32_t status = 0;
    if (!readStatus(status)) return;
    if (library_.ZlPutStatus(state_.connection.CommHandle, 0) != 1) {
        fetchLibError(library_, state_);
        view_.showPlainMessage(failureText(failed, state_.LibError));
    }
}

void RunControl::reset() {
    if (!confirmed(QStringLiteral("Are you sure you want to RESET the controller?"))) return;
    if (!supportsRunCommands(state_.connection.ModelCode)) return;
    int32_t status = 0;
    if (!readStatus(status)) return;
    const int32_t command = (status & kStoppedBit) ? kFreshResetBit : kFreshResetBit | kStoppedBit;
    if (library_.ZlPutStatus(state_.connection.CommHandle, command) != 1)
        view_.showPlainMessage(QStringLiteral("Failed to execute RESET command!"));
}

}  // namespace zel
