#include "link_faults.h"

#include "protocol.h"
#include "wire.h"

namespace zel::sim {
namespace {

struct Span {
    int first = 0;
    int last = 0;
};

// The registers a request touches, for requests that address registers.
std::optional<Span> registersOf(const codec::Frame& f) {
    codec::ByteReader in(f.body);
    const auto first = in.i32();
    if (!first) return std::nullopt;
    switch (static_cast<codec::Op>(f.opcode)) {
        case codec::Op::GetRegister:
        case codec::Op::PutRegister:
        case codec::Op::GetVRegister:
        case codec::Op::SetVRegister:
            return Span{*first, *first};
        case codec::Op::GetRegisterRange: {
            const auto count = in.u16();
            if (!count || *count == 0) return std::nullopt;
            return Span{*first, *first + *count - 1};
        }
        default:
            return std::nullopt;
    }
}

}  // namespace

LinkFaults::LinkFaults(LinkFaultSettings settings)
    : settings_(std::move(settings)), random_(settings_.seed) {}

std::optional<uint16_t> LinkFaults::forcedError(const codec::Frame& request) const {
    if (settings_.errorRanges.empty()) return std::nullopt;
    const auto span = registersOf(request);
    if (!span) return std::nullopt;
    for (const ErrorRange& r : settings_.errorRanges)
        if (span->first <= r.last && span->last >= r.first) return r.code;
    return std::nullopt;
}

bool LinkFaults::chance(double p) {
    if (p <= 0) return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < p;
}

bool LinkFaults::dropNextReply() {
    ++replies_;
    if (settings_.dropEvery > 0 && replies_ % static_cast<uint64_t>(settings_.dropEvery) == 0)
        return true;
    return chance(settings_.dropRate);
}

void LinkFaults::maybeCorrupt(std::vector<uint8_t>& encoded) {
    if (encoded.empty() || !chance(settings_.corruptRate)) return;
    const size_t at = std::uniform_int_distribution<size_t>(0, encoded.size() - 1)(random_);
    encoded[at] ^= static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(random_));
}

bool LinkFaults::linkEnds(uint64_t requests) const {
    return settings_.closeAfter > 0 && requests == static_cast<uint64_t>(settings_.closeAfter);
}

bool LinkFaults::linkEnded(uint64_t requests) const {
    return settings_.closeAfter > 0 && requests > static_cast<uint64_t>(settings_.closeAfter);
}

}  // namespace zel::sim
