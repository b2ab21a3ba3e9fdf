#include "frame.h"

#include <array>
#include <cstring>


namespace zel::codec {
namespace {

// Slicing-by-8 tables: table[0] is the classic byte-at-a-time table, table[k] advances a byte
// that is k positions further on, so eight bytes fold in with eight independent look-ups.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables makeCrcTables() {
    CrcTables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (size_t k = 1; k < 8; ++k)
        for (uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}
constexpr CrcTables kCrc = makeCrcTables();

uint32_t readLe32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t readLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

enum class HeaderCheck { Valid, Invalid };

// Checks what can be checked before the body arrives, so a garbage length never makes the
// stream decoder wait for bytes that will not come.
HeaderCheck checkHeader(const uint8_t* h) {
    if (h[0] != kMagic0 || h[1] != kMagic1 || h[2] != kVersion) return HeaderCheck::Invalid;
    if (h[3] != static_cast<uint8_t>(FrameType::Request) &&
        h[3] != static_cast<uint8_t>(FrameType::Reply))
        return HeaderCheck::Invalid;
    if (readLe32(h + 16) > kMaxBody) return HeaderCheck::Invalid;
    return HeaderCheck::Valid;
}

void writeLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void writeLe32(uint8_t* p, uint32_t v) {
    writeLe16(p, static_cast<uint16_t>(v));
    writeLe16(p + 2, static_cast<uint16_t>(v >> 16));
}

// Decodes a frame whose header passed checkHeader and whose full length is available.
std::optional<FrameView> decodeChecked(const uint8_t* p, size_t bodyLength) {
    const size_t crcAt = kHeaderSize + bodyLength;
    if (crc32({p, crcAt}) != readLe32(p + crcAt)) return std::nullopt;
    FrameView f;
    f.type = static_cast<FrameType>(p[3]);
    f.id = readLe32(p + 4);
    f.opcode = readLe16(p + 8);
    f.status = readLe16(p + 10);
    f.target_node = readLe16(p + 12);
    f.source_node = readLe16(p + 14);
    f.body = {p + kHeaderSize, bodyLength};
    return f;
}

std::optional<Frame> copied(const std::optional<FrameView>& view) {
    if (!view) return std::nullopt;
    Frame f;
    static_cast<FrameFields&>(f) = *view;
    f.body.assign(view->body.begin(), view->body.end());
    return f;
}

}  // namespace

uint32_t crc32(std::span<const uint8_t> data, uint32_t crc) {
    crc = ~crc;
    const uint8_t* p = data.data();
    size_t n = data.size();
    for (; n >= 8; n -= 8, p += 8) {
        const uint32_t lo = crc ^ readLe32(p);
        const uint32_t hi = readLe32(p + 4);
        crc = kCrc[7][lo & 0xFF] ^ kCrc[6][(lo >> 8) & 0xFF] ^ kCrc[5][(lo >> 16) & 0xFF] ^
              kCrc[4][lo >> 24] ^ kCrc[3][hi & 0xFF] ^ kCrc[2][(hi >> 8) & 0xFF] ^
              kCrc[1][(hi >> 16) & 0xFF] ^ kCrc[0][hi >> 24];
    }
    for (; n > 0; --n, ++p) crc = kCrc[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void encodeFrame(const FrameFields& fields, std::span<const uint8_t> body,
                 std::vector<uint8_t>& out) {
    if (body.size() > kMaxBody) body = {};
    out.resize(kHeaderSize + body.size() + kTrailerSize);
    uint8_t* p = out.data();
    p[0] = kMagic0;
    p[1] = kMagic1;
    p[2] = kVersion;
    p[3] = static_cast<uint8_t>(fields.type);
    writeLe32(p + 4, fields.id);
    writeLe16(p + 8, fields.opcode);
    writeLe16(p + 10, fields.status);
    writeLe16(p + 12, fields.target_node);
    writeLe16(p + 14, fields.source_node);
    writeLe32(p + 16, static_cast<uint32_t>(body.size()));
    if (!body.empty()) std::memcpy(p + kHeaderSize, body.data(), body.size());
    const size_t crcAt = kHeaderSize + body.size();
    writeLe32(p + crcAt, crc32({p, crcAt}));
}

std::vector<uint8_t> encodeFrame(const Frame& frame) {
    std::vector<uint8_t> out;
    encodeFrame(frame, frame.body, out);
    return out;
}

std::optional<FrameView> viewDatagram(std::span<const uint8_t> d) {
    if (d.size() < kHeaderSize + kTrailerSize) return std::nullopt;
    if (checkHeader(d.data()) != HeaderCheck::Valid) return std::nullopt;
    const size_t bodyLength = readLe32(d.data() + 16);
    if (d.size() != kHeaderSize + bodyLength + kTrailerSize) return std::nullopt;
    return decodeChecked(d.data(), bodyLength);
}

std::optional<Frame> decodeDatagram(std::span<const uint8_t> d) {
    return copied(viewDatagram(d));
}

void StreamDecoder::feed(std::span<const uint8_t> bytes) {
    compact();
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Frame> StreamDecoder::next() {
    return copied(nextView());
}

std::optional<FrameView> StreamDecoder::nextView() {
    while (buffered() >= 2) {
        const uint8_t* p = buffer_.data() + start_;
        if (p[0] != kMagic0 || p[1] != kMagic1) {
            ++start_;
            ++discarded_;
            continue;
        }
        if (buffered() < kHeaderSize) return std::nullopt;
        if (checkHeader(p) != HeaderCheck::Valid) {
            ++start_;
            ++discarded_;
            continue;
        }
        const size_t bodyLength = readLe32(p + 16);
        const size_t total = kHeaderSize + bodyLength + kTrailerSize;
        if (buffered() < total) return std::nullopt;
        auto frame = decodeChecked(p, bodyLength);
        if (!frame) {
            ++start_;
            ++discarded_;
            continue;
        }
        start_ += total;
        return frame;
    }
    return std::nullopt;
}

void StreamDecoder::clear() {
    buffer_.clear();
    start_ = 0;
}

void StreamDecoder::compact() {
    if (start_ == 0) return;
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
}

}  // namespace zel::codec
