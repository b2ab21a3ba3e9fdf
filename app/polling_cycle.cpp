#include "app/polling_cycle.h"

#include <QScopeGuard>
#include <algorithm>
#include <exception>

#include "link/link_session.h"

namespace zel {
namespace {

// A tick's reads are shared only within it, however it ends.
class TickScope {
public:
    explicit TickScope(TickReadCache* cache) : cache_(cache) {
        if (cache_) cache_->beginTick();
    }
    ~TickScope() {
        if (cache_) cache_->endTick();
    }
    TickScope(const TickScope&) = delete;
    TickScope& operator=(const TickScope&) = delete;

private:
    TickReadCache* cache_;
};

}  // namespace

PollingCycle::PollingCycle(AppState& state, ZelLibrary& library, ConnectionManager& connection,
                           EventPump pump, MessageSink setMessage)
    : state_(state), library_(library), connection_(connection), pump_(std::move(pump)),
      setMessage_(std::move(setMessage)) {}

void PollingCycle::addBlock(PollBlock& block, int place) {
    const auto at = std::upper_bound(
        blocks_.begin(), blocks_.end(), place,
        [](int p, const PlacedBlock& placed) { return p < placed.place; });
    blocks_.insert(at, {place, &block});
}

void PollingCycle::tick() {
    MonitoringFlags& f = state_.flags;
    // A program transfer or a firmware load holds the link, waiting on the link thread or in an
    // exchange of its own: the tick neither checks nor re-makes the link meanwhile.
    if (f.DownloadBusy) return;
    // Events run while the tick waits for its calls; a timer firing meanwhile does not start
    // another tick inside this one.
    if (ticking_) return;
    ticking_ = true;
    const auto ended = qScopeGuard([this] { ticking_ = false; });
    const TickScope scope(cache_);
    try {
        if (f.NoCommunication) {
            linkAttempted(state_, connection_.CheckComm());
            if (f.NoCommunication) {
                pump_();
                return;
            }
        }
        if (state_.connection.CommHandle != 0) {
            f.CommErrorFlag = false;
            PollContext context(state_, library_, pump_);
            if (cache_)
                cache_->fetchLastTicksReads(state_.connection.CommHandle,
                                            !state_.settings.ReadsOneByOne);
            int32_t value = 0;
            if (library_.ZlGetRegister(state_.connection.CommHandle, 1, value) != 1)
                context.readFailed();
            refreshWindows(context);
        }
        if (f.CommErrorFlag) linkLost(state_);
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
}

void PollingCycle::refreshWindows(PollContext& context) {
    // A window opened or closed while events run inside a block takes effect next tick.
    const std::vector<PlacedBlock> blocks = blocks_;
    for (const PlacedBlock& placed : blocks) {
        PollBlock* block = placed.block;
        if (!block->isOpen() || linkState(state_) != LinkState::Connected) continue;
        if (state_.connection.CommHandle == 0) return;
        block->refresh(context);
        if (context.tickEnded) return;
    }
}

// While the user has suspended monitoring, errors raised by the suspension itself (closing
// the link under a block) are not worth a message; the link is re-made on resume anyway.
void PollingCycle::reportError(const QString& description) {
    if (!state_.flags.UserSuspended)
        setMessage_(QStringLiteral("Error in polling routine!\r") + description);
    linkLost(state_);
}

}  // namespace zel
