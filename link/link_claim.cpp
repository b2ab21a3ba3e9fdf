#include "link/link_claim.h"

namespace zel {
namespace {

bool& busyFlag(AppState& state, LinkUse use) {
    return use == LinkUse::TableUpload ? state.flags.TableUploadBusy : state.flags.DownloadBusy;
}

}  // namespace

bool linkFree(const AppState& state) {
    return !state.flags.TableUploadBusy && !state.flags.DownloadBusy;
}

bool claimLinkForTransfer(AppState& state, LinkUse use) {
    if (!linkFree(state)) return false;
    busyFlag(state, use) = true;
    return true;
}

void releaseLink(AppState& state, LinkUse use) {
    busyFlag(state, use) = false;
}

LinkClaim::LinkClaim(AppState& state, LinkUse use)
    : state_(state), use_(use), held_(claimLinkForTransfer(state, use)) {}

LinkClaim::~LinkClaim() {
    if (held_) releaseLink(state_, use_);
}

}  // namespace zel
