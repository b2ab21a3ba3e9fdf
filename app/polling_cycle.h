// The polling tick: reconnect while there is no link, check the link by reading register 1,
// refresh every open window in a fixed order, and turn a failed read into a reconnection on
// the next tick.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "common/app_state.h"
#include "link/connection_manager.h"
#include "link/poll_block.h"
#include "app/tick_read_cache.h"

namespace zel {

class PollingCycle {
public:
    using MessageSink = std::function<void(const QString&)>;

    PollingCycle(AppState& state, ZelLibrary& library, ConnectionManager& connection,
                 EventPump pump, MessageSink setMessage);

    // A window joins the tick at its place, the tick running blocks in rising order of place;
    // blocks live as long as their windows, which are kept until shutdown.
    void addBlock(PollBlock& block, int place);

    // The library the blocks read through, whose reads are shared within each tick.
    void setReadCache(TickReadCache* cache) { cache_ = cache; }

    void tick();

private:
    void refreshWindows(PollContext& context);
    void reportError(const QString& description);

    AppState& state_;
    ZelLibrary& library_;
    ConnectionManager& connection_;
    EventPump pump_;
    MessageSink setMessage_;
    TickReadCache* cache_ = nullptr;
    bool ticking_ = false;
    struct PlacedBlock {
        int place;
        PollBlock* block;
    };
    std::vector<PlacedBlock> blocks_;  // in rising order of place
};

}  // namespace zel
