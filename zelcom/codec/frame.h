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

struct Frame {
    FrameType type = FrameType::Request;
    uint32_t id = 0;
    uint16_t opcode = 0;
    uint16_t status = 0;  // replies: 0 or an error code
    uint16_t target_node = 0;
    uint16_t source_node = 0;
    std::vector<uint8_t> body;
};

uint32_t crc32(std::span<const uint8_t> data, uint32_t crc = 0);

// Encodes a frame; a body longer than kMaxBody is a programming error and is cut to nothing.
std::vector<uint8_t> encodeFrame(const Frame& frame);

// A datagram holds exactly one frame and nothing else.
std::optional<Frame> decodeDatagram(std::span<const uint8_t> datagram);

// Reassembles frames from a byte stream. Bytes that cannot start a valid frame are skipped one
// at a time, so a corrupted frame costs only itself and the decoder finds the next one.
class StreamDecoder {
public:
    void feed(std::span<const uint8_t> bytes);
    // The next complete, valid frame, if the bytes fed so far hold one.
    std::optional<Frame> next();
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
