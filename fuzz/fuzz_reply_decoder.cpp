// The library's receiving side: frames arriving as datagrams and as a byte stream split at
// arbitrary points, and the bounded reader that takes reply bodies apart.
#include <cstddef>
#include <cstdint>

#include "frame.h"
#include "wire.h"

using namespace zel::codec;

namespace {

void readBody(const std::vector<uint8_t>& body) {
    ByteReader r(body);
    while (r.ok() && r.remaining() > 0) {
        switch (r.remaining() % 4) {
            case 0: r.i32(); break;
            case 1: r.u8(); break;
            case 2: r.u16(); break;
            default: r.f64(); break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (auto frame = decodeDatagram({data, size})) readBody(frame->body);

    // The first byte chooses how the rest is cut into reads.
    if (size == 0) return 0;
    const size_t step = data[0] % 17 + 1;
    StreamDecoder decoder;
    for (size_t at = 1; at < size; at += step) {
        decoder.feed({data + at, std::min(step, size - at)});
        while (auto frame = decoder.next()) readBody(frame->body);
    }
    return 0;
}
