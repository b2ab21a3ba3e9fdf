#include "firmware/huffman_tree.h"

namespace zel::firmware {

namespace {

constexpr int kSentinel = 513;

void collectCodes(const HuffNodes& nodes, int node, HuffCode code,
                  std::array<HuffCode, kEndOfStream + 1>& out) {
    if (node <= kEndOfStream) {
        out[static_cast<size_t>(node)] = code;
        return;
    }
    const auto& n = nodes[static_cast<size_t>(node)];
    collectCodes(nodes, n.Child0, {code.bits << 1, code.length + 1}, out);
    collectCodes(nodes, n.Child1, {(code.bits << 1) | 1u, code.length + 1}, out);
}

}  // namespace

std::optional<int> buildTree(HuffNodes& nodes) {
    nodes[kSentinel].Count = 32767;
    int next = 257;
    for (; next < kNodeCount; ++next) {
        int min1 = kSentinel;
        int min2 = kSentinel;
        for (int i = 0; i < next; ++i) {
            const int16_t count = nodes[static_cast<size_t>(i)].Count;
            if (count == 0) continue;
            // Strict tests: among equal counts the lower index wins.
            if (count < nodes[static_cast<size_t>(min1)].Count) {
                min2 = min1;
                min1 = i;
            } else if (count < nodes[static_cast<size_t>(min2)].Count) {
                min2 = i;
            }
        }
        if (min2 == kSentinel) break;
        auto& a = nodes[static_cast<size_t>(min1)];
        auto& b = nodes[static_cast<size_t>(min2)];
        const int sum = a.Count + b.Count;
        if (sum > 32767 || sum < -32768) return std::nullopt;
        auto& made = nodes[static_cast<size_t>(next)];
        made.Count = static_cast<int16_t>(sum);
        made.Child0 = static_cast<int16_t>(min1);
        made.Child1 = static_cast<int16_t>(min2);
        a.SavedCount = a.Count;
        a.Count = 0;
        b.SavedCount = b.Count;
        b.Count = 0;
    }
    const int root = next - 1;
    nodes[static_cast<size_t>(root)].SavedCount = nodes[static_cast<size_t>(root)].Count;
    return root;
}

std::array<HuffCode, kEndOfStream + 1> codesOf(const HuffNodes& nodes, int root) {
    std::array<HuffCode, kEndOfStream + 1> out{};
    collectCodes(nodes, root, {}, out);
    return out;
}

}  // namespace zel::firmware
