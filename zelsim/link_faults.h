// Faults of the link between monitor and controller, injected on purpose: slow, lost,
// damaged and refused replies, and links that close. Random choices come from a seeded
// generator, so a run with the same seed and the same traffic repeats exactly.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "frame.h"

namespace zel::sim {

struct ErrorRange {
    int first = 0;
    int last = 0;
    uint16_t code = 0;
};

struct LinkFaultSettings {
    int latencyMs = 0;
    double dropRate = 0;     // probability that a reply is lost
    int dropEvery = 0;       // every Nth reply is lost (0: never)
    double corruptRate = 0;  // probability that one byte of a reply is damaged
    int closeAfter = 0;      // a link ends after this many requests (0: never)
    std::vector<ErrorRange> errorRanges;
    uint64_t seed = 1;
};

class LinkFaults {
public:
    explicit LinkFaults(LinkFaultSettings settings);

    const LinkFaultSettings& settings() const { return settings_; }
    // The error code forced on a register request that touches a configured range.
    std::optional<uint16_t> forcedError(const codec::Frame& request) const;
    // Decides, for the next reply in order, whether it is lost.
    bool dropNextReply();
    // Flips one byte of the encoded reply, by chance.
    void maybeCorrupt(std::vector<uint8_t>& encoded);
    // True when a link that has carried `requests` requests must end after this one.
    bool linkEnds(uint64_t requests) const;
    bool linkEnded(uint64_t requests) const;

private:
    bool chance(double p);

    LinkFaultSettings settings_;
    std::mt19937_64 random_;
    uint64_t replies_ = 0;
};

}  // namespace zel::sim
