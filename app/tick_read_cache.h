// The library as the monitor uses it, with the polling tick's register reads shared: during a
// tick, a register one block has read is handed to the next block that asks without going to
// the controller again, so a value shown by a window and also trended is fetched once per
// tick. Any call that may change the controller or the link forgets what was read; outside a
// tick every call goes straight through.
#pragma once

#include <QHash>
#include <utility>

#include "link/forwarding_zel_library.h"

namespace zel {

class TickReadCache final : public ForwardingZelLibrary {
public:
    explicit TickReadCache(ZelLibrary& library) : ForwardingZelLibrary(library) {}

    void beginTick() { inTick_ = true; }
    void endTick() {
        inTick_ = false;
        registers_.clear();
    }

    int32_t ZlGetRegister(int32_t handle, int32_t number, int32_t& value) override;

private:
    int32_t pass(ZelCall call, CallNumbers numbers, InnerCall run) override;

    bool inTick_ = false;
    QHash<std::pair<int32_t, int32_t>, int32_t> registers_;  // (handle, number) -> value
};

}  // namespace zel
