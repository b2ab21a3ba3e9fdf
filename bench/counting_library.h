// A library that forwards every call to another and counts the calls that go to the controller
// and the time they take, so a benchmark can tell how many round trips a tick made and how much
// of the tick they took.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <vector>

#include "link/forwarding_zel_library.h"

namespace zel::bench {

// A register read as the work made it, so that a benchmark can make the same reads straight
// to the library as the floor of that work.
struct RegisterRead {
    enum Kind { Single, Block16, Block50 } kind;
    int32_t address;  // the register, the first of sixteen, or the block of fifty
};

class CountingLibrary final : public ForwardingZelLibrary {
public:
    explicit CountingLibrary(ZelLibrary& inner) : ForwardingZelLibrary(inner) {}
    long roundTrips = 0;
    double callNs = 0;                                   // spent inside those calls
    std::vector<RegisterRead>* registerReads = nullptr;  // the reads are added here when set

private:
    // One exchange with the controller each; opening the link, the library's own settings
    // and a transfer's many exchanges are not counted.
    int32_t pass(ZelCall call, CallNumbers numbers, InnerCall run) override {
        const CallEffect effect = callTraits(call).effect;
        if (effect != CallEffect::Reads && effect != CallEffect::Changes) return run();
        if (registerReads) recordRead(call, numbers);
        ++roundTrips;
        const auto start = std::chrono::steady_clock::now();
        const int32_t result = run();
        callNs += static_cast<double>(
            std::chrono::nanoseconds(std::chrono::steady_clock::now() - start).count());
        return result;
    }
    // The register reads, by the register, the first of sixteen or the block they name.
    void recordRead(ZelCall call, CallNumbers numbers) {
        if (call == ZelCall::GetRegister) record(RegisterRead::Single, numbers);
        if (call == ZelCall::GetRegister16) record(RegisterRead::Block16, numbers);
        if (call == ZelCall::GetRegister50) record(RegisterRead::Block50, numbers);
    }
    void record(RegisterRead::Kind kind, CallNumbers numbers) {
        registerReads->push_back({kind, numbers.begin()[1]});
    }
};

// The round trips a piece of work made, made again one at a time straight to the library as the
// floor of that work: its register reads as they were made, any other exchange as a read of
// register 1.
class TripReplay {
public:
    TripReplay(ZelLibrary& library, int32_t handle, std::vector<RegisterRead> reads, long trips)
        : library_(library), handle_(handle), reads_(std::move(reads)),
          trips_(std::max<long>(trips, 1)) {}
    long count() const { return trips_; }
    void operator()() {
        const auto i = static_cast<size_t>(next_++ % trips_);
        int32_t value = 0;
        if (i >= reads_.size()) {
            library_.ZlGetRegister(handle_, 1, value);
            return;
        }
        const RegisterRead& r = reads_[i];
        switch (r.kind) {
            case RegisterRead::Single:
                library_.ZlGetRegister(handle_, r.address, value);
                break;
            case RegisterRead::Block16:
                library_.ZlGetRegister16(handle_, r.address, sixteen_);
                break;
            case RegisterRead::Block50:
                library_.ZlGetRegister50(handle_, r.address, fifty_);
                break;
        }
    }

private:
    ZelLibrary& library_;
    int32_t handle_;
    std::vector<RegisterRead> reads_;
    long trips_;
    long next_ = 0;
    std::array<int32_t, 16> sixteen_{};
    std::array<int32_t, 50> fifty_{};
};

// One call of `work` with the round trips it makes counted and its register reads noted.
inline TripReplay tripsOf(CountingLibrary& counting, ZelLibrary& straight, int32_t handle,
                          const std::function<void()>& work) {
    std::vector<RegisterRead> reads;
    counting.registerReads = &reads;
    counting.roundTrips = 0;
    work();
    counting.registerReads = nullptr;
    return TripReplay(straight, handle, std::move(reads), counting.roundTrips);
}

}  // namespace zel::bench
