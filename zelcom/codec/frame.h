// Framing of the controller protocol: a fixed header, a bounded body and a CRC-32 trailer.
// The same frames travel over byte streams (TCP, serial) and datagrams (UDP, ZelNET).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zel::codec {

inline constexpr uint8_t kMagic0 = 'Z';
inline constexpr uint8_t kMagic1 = 'L';
inline constexpr uint8_t kVersion = 1;
inline constexpr size_t kHeaderSize = 20;
inline constexpr size_t kTrailerSize = 4;
inline constexpr size_t kMaxBody = 4096;
inline constexpr size_t kMaxFrame = kHeaderSize + kMaxBody + kTrailerSize;

enum class FrameType : uint8_t { Request = 1, Reply = 2 };

// The header's fields; a frame adds its body.
struct FrameFields {
    FrameType type = FrameType::Request;
    uint32_t id = 0;
    uint16_t opcode = 0;
    uint16_t status = 0;  // replies: 0 or an error code
    uint16_t target_node = 0;
    uint16_t source_node = 0;
};

struct Frame : FrameFields {
    std::vector<uint8_t> body;
};

// A decoded frame whose body is left where it was received: valid as long as those bytes are.
// A client reads each reply once and needs no copy of it.
struct FrameView : FrameFields {
    std::span<const uint8_t> body;
};

uint32_t crc32(std::span<const uint8_t> data, uint32_t crc = 0);

// Encodes a frame; a body longer than kMaxBody is a programming error and is cut to nothing.
std::vector<uint8_t> encodeFrame(const Frame& frame);
// The same into out, which it replaces; out keeps its storage, so a link that sends one request
// after another allocates nothing for them.
void encodeFrame(const FrameFields& fields, std::span<const uint8_t> body,
                 std::vector<uint8_t>& out);

// A datagram holds exactly one frame and nothing else.
std::optional<Frame> decodeDatagram(std::span<const uint8_t> datagram);
std::optional<FrameView> viewDatagram(std::span<const uint8_t> datagram);

// Reassembles frames from a byte stream. Bytes that cannot start a valid frame are skipped one
// at a time, so a corrupted frame costs only itself and the decoder finds the next one.
class StreamDecoder {
public:
    void feed(std::span<const uint8_t> bytes);
    // The next complete, valid frame, if the bytes fed so far hold one.
    std::optional<Frame> next();
    // The same, its body left in the decoder: valid until the next feed, next or clear.
    std::optional<FrameView> nextView();
    size_t buffered() const { return buffer_.size() - start_; }
    // Bytes discarded since construction because they did not form a valid frame.
    size_t discarded() const { return discarded_; }
    void clear();

private:
    void compact();

    std::vector<uint8_t> buffer_;
    size_t start_ = 0;
    size_t discarded_ = 0;
};

}  // namespace zel::codec
