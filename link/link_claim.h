// A transfer's hold on the link. While a program, register file, data table or firmware transfer
// runs, it alone talks to the controller: it claims the link first and releases it when it
// ends, and every other user asks whether the link is free before a call and waits or refuses.
// The busy flags that the polling tick tests are written here and nowhere else.
#pragma once

#include <QString>

#include "common/app_state.h"

namespace zel {

// What the claim is for: a data table upload still lets the polling tick check the link between
// its rows on this thread; every other transfer keeps the tick away altogether.
enum class LinkUse { TableUpload, Transfer };

// The refusal of a write, or of a second transfer, while a transfer holds the link.
inline const QString kLinkClaimedMessage =
    QStringLiteral("A transfer is in progress; try again when it has finished.");

// True while no transfer holds the link.
bool linkFree(const AppState& state);

// Claims the link for `use`; false, changing nothing, while another transfer holds it.
bool claimLinkForTransfer(AppState& state, LinkUse use);
// Gives back a claim made with `use`.
void releaseLink(AppState& state, LinkUse use);

// A claim for the length of a scope, released however the scope ends. Test held() (or the
// claim itself) before using the link: a claim refused because another transfer holds the
// link releases nothing.
class LinkClaim {
public:
    LinkClaim(AppState& state, LinkUse use);
    ~LinkClaim();
    LinkClaim(const LinkClaim&) = delete;
    LinkClaim& operator=(const LinkClaim&) = delete;

    bool held() const { return held_; }
    explicit operator bool() const { return held_; }

private:
    AppState& state_;
    LinkUse use_;
    bool held_;
};

}  // namespace zel
