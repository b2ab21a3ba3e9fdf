#include "app/tick_read_cache.h"

#include <algorithm>
#include <array>

#include "link/lib_error.h"
#include "status/status_packet.h"

namespace zel {

// One planned read's outcome, written on the link thread while the tick waits for the batch.
struct TickReadCache::Fetched {
    int32_t result = 0;
    std::array<int32_t, 50> values{};
    LibErrorRecord error{};
    int32_t errorResult = 0;
};

namespace {

int32_t readPlanned(ZelLibrary& library, int32_t handle, const PlannedRead& read,
                    std::array<int32_t, 50>& values) {
    switch (read.call) {
        case ZelCall::GetRegister16: {
            std::array<int32_t, 16> sixteen{};
            const int32_t result = library.ZlGetRegister16(handle, read.argument, sixteen);
            std::copy(sixteen.begin(), sixteen.end(), values.begin());
            return result;
        }
        case ZelCall::GetRegister50:
            return library.ZlGetRegister50(handle, read.argument, values);
        default:
            return library.ZlGetRegister(handle, read.argument, values[0]);
    }
}

}  // namespace

void TickReadCache::endTick() {
    inTick_ = false;
    forget();
    std::sort(asked_.begin(), asked_.end());
    asked_.erase(std::unique(asked_.begin(), asked_.end()), asked_.end());
    lastTick_.swap(asked_);
    asked_.clear();
}

void TickReadCache::forget() {
    registers_.clear();
    ++generation_;
}

void TickReadCache::fetchLastTicksReads(int32_t handle, bool merge) {
    if (!inTick_) return;
    // A register the controller does not have is not asked again, as long as the batch still
    // asks something: its answers tell that the link works.
    std::vector<int32_t> wanted;
    QList<Key> absent;
    for (const int32_t number : lastTick_) {
        if (merge && absent_.contains(number))
            absent << Key{handle, number};
        else
            wanted.push_back(number);
    }
    if (wanted.empty()) return;
    for (const Key& key : absent) registers_.insert(key, absent_.value(key.second));
    const auto refused = [this](const PlannedRead& read) {
        if (refusedBlocks_.contains({static_cast<int32_t>(read.call), read.argument})) return true;
        const RegisterRange range = read.registers();
        return std::any_of(unreadable_.cbegin(), unreadable_.cend(),
                           [&](int32_t n) { return n >= range.first && n <= range.last; });
    };
    const std::vector<PlannedRead> plan = planReads(wanted, {merge && !blocksRefused_, refused});
    std::vector<Fetched> fetched(plan.size());
    size_t made = 0;
    const uint64_t generation = generation_;
    inner().runTogether([&] {
        while (made < plan.size()) {
            Fetched& f = fetched[made];
            f.result = readPlanned(inner(), handle, plan[made++], f.values);
            if (f.result == 1) continue;
            f.errorResult = inner().ZlGetErrorInfo(handle, f.error);
            // After a failure of the link itself the rest would fail as well.
            if (!refusedOnWorkingLink(f.errorResult, f.error)) break;
        }
    });
    // A call made while the batch ran may have changed what it read.
    if (generation != generation_) return;
    for (size_t i = 0; i < made; ++i) keep(handle, plan[i], fetched[i]);
    if (made == 0) return;
    const Fetched& last = fetched[made - 1];
    if (last.result == 1 || refusedOnWorkingLink(last.errorResult, last.error)) return;
    const Known failure{last.result, 0, last.error, last.errorResult};
    for (const int32_t number : wanted) {
        if (!registers_.contains({handle, number})) registers_.insert({handle, number}, failure);
    }
}

void TickReadCache::keep(int32_t handle, const PlannedRead& read, const Fetched& fetched) {
    const RegisterRange range = read.registers();
    if (fetched.result == 1) {
        for (int32_t n = range.first; n <= range.last; ++n) {
            const auto at = static_cast<size_t>(n - range.first);
            registers_.insert({handle, n}, Known{1, fetched.values[at]});
        }
        return;
    }
    const bool refusal = refusedOnWorkingLink(fetched.errorResult, fetched.error);
    if (read.call == ZelCall::GetRegister || !refusal) {
        const Known failure{fetched.result, 0, fetched.error, fetched.errorResult};
        if (read.call == ZelCall::GetRegister && refusal) noteFailed(range.first, failure);
        for (int32_t n = range.first; n <= range.last; ++n) registers_.insert({handle, n}, failure);
        return;
    }
    refusedBlocks_.insert({static_cast<int32_t>(read.call), read.argument});
    if (fetched.error.code == kErrorUnknownRequest) blocksRefused_ = true;
}

int32_t TickReadCache::ZlGetRegister(int32_t handle, int32_t number, int32_t& value) {
    if (!inTick_) return inner().ZlGetRegister(handle, number, value);
    asked_.push_back(number);
    const Key key{handle, number};
    if (const auto known = registers_.constFind(key); known != registers_.constEnd()) {
        if (known->result == 1) {
            value = known->value;
        } else {
            replayed_ = *known;
        }
        return known->result;
    }
    replayed_.reset();
    const int32_t result = inner().ZlGetRegister(handle, number, value);
    if (result == 1) {
        registers_.insert(key, Known{1, value});
    } else {
        // Whether the controller refused it or the link failed: a failed link is made again,
        // and re-making it forgets this.
        unreadable_.insert(number);
        failedRead_ = {number, result};
    }
    return result;
}

void TickReadCache::noteFailed(int32_t number, const Known& failure) {
    unreadable_.insert(number);
    if (isAbsentResource(failure.errorResult, failure.error)) absent_.insert(number, failure);
}

// The status window's requests only read: what the tick fetched stays.
int32_t TickReadCache::ZlSendData(int32_t handle, int32_t kind, const QByteArray& request,
                                  int16_t length, QByteArray& reply) {
    if (!status::onlyReads(request))
        return ForwardingZelLibrary::ZlSendData(handle, kind, request, length, reply);
    replayed_.reset();
    return inner().ZlSendData(handle, kind, request, length, reply);
}

int32_t TickReadCache::ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) {
    if (replayed_) {
        info = replayed_->error;
        return replayed_->errorResult;
    }
    const int32_t fetched = ForwardingZelLibrary::ZlGetErrorInfo(handle, info);
    if (failedRead_) noteFailed(failedRead_->first, Known{failedRead_->second, 0, info, fetched});
    failedRead_.reset();
    return fetched;
}

// Reads and the library's own settings leave the controller as it was; anything else, a raw
// packet included, may have written what was read. Re-making the link may reach another
// controller, whose block reads are tried afresh.
int32_t TickReadCache::pass(ZelCall call, CallNumbers, InnerCall run) {
    if (call != ZelCall::GetErrorInfo) {
        replayed_.reset();
        failedRead_.reset();
    }
    const CallEffect effect = callTraits(call).effect;
    if (effect == CallEffect::Link) {
        refusedBlocks_.clear();
        unreadable_.clear();
        absent_.clear();
        blocksRefused_ = false;
    }
    if (effect != CallEffect::Reads && effect != CallEffect::Library) forget();
    return run();
}

}  // namespace zel
