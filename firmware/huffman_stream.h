// The compressed image's layout: a count header of signed 16-bit little-endian values (runs
// of "first symbol, last symbol, counts", then 4095 where the next run would start), then the
// codes of the text's bytes and of the end symbol, taken from each byte's highest bit down.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "firmware/huffman_tree.h"

namespace zel::firmware {

inline constexpr int kCountsEnd = 4095;
inline constexpr char kCountsUnreadable[] = "Fatal error reading counts";
inline constexpr char kStreamCutShort[] = "The compressed stream ends before its end mark";

// Decodes symbols from a stream positioned at its count header. The stream stays the
// caller's.
class HuffmanDecoder {
public:
    explicit HuffmanDecoder(std::FILE* stream) : stream_(stream) {}

    // Reads the count header and builds the tree; false with error() when the header is cut
    // short, names a node outside 0 to 514, or its counts are too large.
    bool readHeader();
    // Bytes the header took; the bit stream starts there.
    long headerSize() const { return headerSize_; }
    // Starts taking bits from a fresh byte, as after a rewind to the bit stream.
    void restartBits() { held_ = 0; }

    // The next symbol, 0 to 256, or -1 when the stream ends inside a code.
    int nextSymbol();

    const std::string& error() const { return error_; }

private:
    // Where eight bits lead from the root: a symbol after `length` of them, or the inner node
    // reached after all eight.
    struct Step {
        int16_t node = 0;
        int8_t length = 0;
    };

    bool readValue(int16_t& value);
    // Reads bytes until at least n bits are held; false at the stream's end.
    bool hold(int n);

    std::FILE* stream_;
    HuffNodes nodes_{};
    int root_ = 0;
    long headerSize_ = 0;
    // The tree walked a byte at a time: one bit at a time, a text of a few hundred kilobytes
    // took tens of milliseconds to decode, twice in every update (checked, then sent).
    std::array<Step, 256> steps_{};
    uint32_t rack_ = 0;  // the bits not yet taken are its lowest `held_`, first the highest
    int held_ = 0;
    std::string error_;
};

// The text of a whole compressed image, every byte as packed; false with `error` when the
// header is unreadable or the stream ends before its end symbol.
bool decompressImage(std::FILE* stream, std::string& text, std::string& error);

// The whole compressed image of `text`, with counts halved as needed to keep every sum of the
// tree within 32767.
std::string compressImage(std::string_view text);

}  // namespace zel::firmware
