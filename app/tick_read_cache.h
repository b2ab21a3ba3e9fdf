// The library as the polling tick uses it. A tick starts by fetching the registers the last
// tick read, all at once: merged into as few block reads as the bytes on the line allow
// (link/read_plan.h) and handed to the link thread as one batch. The windows' blocks then read
// their registers one by one as before and get the tick's values as if each had been read on
// its own:
//  - a failed read answers again with its error record;
//  - a register whose read failed is kept out of blocks on this link, as the controller refuses
//    a block with such a register in it; a block refused all the same leaves its registers to
//    be read on their own and is not asked again on this link;
//  - a register the controller does not have (a resource beyond its count, which stays so while
//    the link lasts) answers that failure without being asked again, unless registers are read
//    one by one;
//  - a link that failed answers every register left with that failure rather than being waited
//    for again.
// A register read during the tick is handed to the next block that asks without going to the
// controller again. Any call that may change the controller or the link forgets what was read;
// outside a tick every call goes straight through.
#pragma once

#include <QHash>
#include <QSet>
#include <optional>
#include <utility>
#include <vector>

#include "link/forwarding_zel_library.h"
#include "link/read_plan.h"

namespace zel {

class TickReadCache final : public ForwardingZelLibrary {
public:
    explicit TickReadCache(ZelLibrary& library) : ForwardingZelLibrary(library) {}

    void beginTick() { inTick_ = true; }
    void endTick();

    // Fetches the registers the last tick read, in blocks where `merge` allows, else each on its
    // own, for a controller that needs its registers read one by one.
    void fetchLastTicksReads(int32_t handle, bool merge);

    int32_t ZlGetRegister(int32_t handle, int32_t number, int32_t& value) override;
    int32_t ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) override;
    int32_t ZlSendData(int32_t handle, int32_t kind, const QByteArray& request, int16_t length,
                       QByteArray& reply) override;

private:
    // A register's answer in this tick: its value, or the failure and its error record.
    struct Known {
        int32_t result = 1;
        int32_t value = 0;
        LibErrorRecord error{};
        int32_t errorResult = 0;
    };
    struct Fetched;
    using Key = std::pair<int32_t, int32_t>;  // (handle, number)

    int32_t pass(ZelCall call, CallNumbers numbers, InnerCall run) override;
    void forget();
    void keep(int32_t handle, const PlannedRead& read, const Fetched& fetched);
    void noteFailed(int32_t number, const Known& failure);

    bool inTick_ = false;
    uint64_t generation_ = 0;  // counts what was forgotten, so a batch can tell it is stale
    QHash<Key, Known> registers_;
    std::optional<Known> replayed_;  // the failure last handed out, for its error record
    std::vector<int32_t> asked_;     // the registers this tick read
    std::vector<int32_t> lastTick_;  // the registers the last tick read, each once, rising
    QSet<std::pair<int32_t, int32_t>> refusedBlocks_;  // (call, argument) of refused blocks
    QSet<int32_t> unreadable_;                         // registers whose read failed on this link
    QHash<int32_t, Known> absent_;  // registers the controller does not have, with that answer
    // (register, result) of a read that failed, until its error record is fetched
    std::optional<std::pair<int32_t, int32_t>> failedRead_;
    bool blocksRefused_ = false;  // a controller without block reads
};

}  // namespace zel
