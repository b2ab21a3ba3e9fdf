// The static Huffman tree of compressed firmware images. The reader and the packer build it
// the same way from the same counts, so they agree on every code: counts of equal value are
// paired lowest node index first.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zel::firmware {

// Nodes 0 to 255 are the byte values, 256 the end of the stream, 257 and up the pairs built;
// 513 stands in as the largest count while building.
inline constexpr int kEndOfStream = 256;
inline constexpr int kNodeCount = 515;

struct HuffNode {
    int16_t Count = 0;
    int16_t SavedCount = 0;
    int16_t Child0 = 0;
    int16_t Child1 = 0;
};

using HuffNodes = std::array<HuffNode, kNodeCount>;

// Pairs the nodes with counts (0 to 256) into a tree; the root's index, or an empty result
// when a sum leaves the signed 16-bit range.
std::optional<int> buildTree(HuffNodes& nodes);
inline constexpr char kCountsTooLarge[] =
    "The image's symbol counts are too large: a sum exceeds 32767";

// A symbol's code: `length` bits, the first in the highest place.
struct HuffCode {
    uint64_t bits = 0;
    int length = 0;
};

// The code of every symbol under the root; symbols outside the tree get length 0.
std::array<HuffCode, kEndOfStream + 1> codesOf(const HuffNodes& nodes, int root);

}  // namespace zel::firmware
