#include "firmware/huffman_stream.h"

#include <array>
#include <numeric>

namespace zel::firmware {

namespace {

void putValue(std::string& out, int value) {
    const auto v = static_cast<uint16_t>(value);
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

// Byte counts scaled so that their total, with the end symbol's 1, is at most 32767: the
// root's count is that total, and every other sum is below it.
std::array<int, 256> scaledCounts(std::string_view text) {
    std::array<int64_t, 256> raw{};
    for (const char c : text) ++raw[static_cast<unsigned char>(c)];
    for (;;) {
        const int64_t total = std::accumulate(raw.begin(), raw.end(), int64_t{1});
        if (total <= 32767) break;
        // Halving upwards keeps every byte that occurs at a count of at least 1.
        for (auto& c : raw) c = (c + 1) / 2;
    }
    std::array<int, 256> out{};
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<int>(raw[i]);
    return out;
}

// Runs over the bytes that occur, split where a gap of zeros costs more than a new run.
void putCountHeader(std::string& out, const std::array<int, 256>& counts) {
    int first = 0;
    while (first < 256 && counts[static_cast<size_t>(first)] == 0) ++first;
    if (first == 256) {
        // The terminator must follow a run: one run of symbol 0 with count 0.
        putValue(out, 0);
        putValue(out, 0);
        putValue(out, 0);
    }
    while (first < 256) {
        int last = first;
        int probe = first + 1;
        while (probe < 256) {
            if (counts[static_cast<size_t>(probe)] != 0) {
                last = probe++;
            } else if (probe - last > 2) {
                break;
            } else {
                ++probe;
            }
        }
        putValue(out, first);
        putValue(out, last);
        for (int i = first; i <= last; ++i) putValue(out, counts[static_cast<size_t>(i)]);
        first = last + 1;
        while (first < 256 && counts[static_cast<size_t>(first)] == 0) ++first;
    }
    putValue(out, kCountsEnd);
}

class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    void put(HuffCode code) {
        for (int i = code.length - 1; i >= 0; --i) {
            rack_ = static_cast<unsigned>((rack_ << 1) | ((code.bits >> i) & 1u));
            if (++used_ == 8) flush();
        }
    }
    // The last byte's unused low bits are zeros.
    void finish() {
        if (used_ == 0) return;
        rack_ <<= 8 - used_;
        flush();
    }

private:
    void flush() {
        out_ += static_cast<char>(rack_ & 0xFF);
        rack_ = 0;
        used_ = 0;
    }
    std::string& out_;
    unsigned rack_ = 0;
    int used_ = 0;
};

}  // namespace

bool HuffmanDecoder::readValue(int16_t& value) {
    unsigned char bytes[2];
    if (std::fread(bytes, 1, 2, stream_) != 2) return false;
    value = static_cast<int16_t>(bytes[0] | (bytes[1] << 8));
    headerSize_ += 2;
    return true;
}

bool HuffmanDecoder::readHeader() {
    nodes_ = {};
    headerSize_ = 0;
    const auto fail = [this](std::string message) {
        error_ = std::move(message);
        headerSize_ = 0;
        return false;
    };
    int16_t first = 0;
    if (!readValue(first)) return fail(kCountsUnreadable);
    for (;;) {
        int16_t last = 0;
        if (!readValue(last)) return fail(kCountsUnreadable);
        for (int i = first; i <= last; ++i) {
            if (i < 0 || i >= kNodeCount)
                return fail("The image's count header names symbol " + std::to_string(i) +
                            ", outside 0 to 514");
            if (!readValue(nodes_[static_cast<size_t>(i)].Count)) return fail(kCountsUnreadable);
        }
        if (!readValue(first)) return fail(kCountsUnreadable);
        if (first == kCountsEnd) break;
    }
    nodes_[kEndOfStream].Count = 1;
    const auto root = buildTree(nodes_);
    if (!root) return fail(kCountsTooLarge);
    root_ = *root;
    for (unsigned byte = 0; byte < steps_.size(); ++byte) {
        int node = root_;
        int length = 0;
        while (node > kEndOfStream && length < 8) {
            const auto& n = nodes_[static_cast<size_t>(node)];
            node = (byte >> (7 - length++)) & 1u ? n.Child1 : n.Child0;
        }
        steps_[byte] = {static_cast<int16_t>(node), static_cast<int8_t>(length)};
    }
    held_ = 0;
    return true;
}

bool HuffmanDecoder::hold(int n) {
    while (held_ < n) {
        const int byte = std::getc(stream_);
        if (byte == EOF) return false;
        rack_ = (rack_ << 8) | static_cast<unsigned>(byte);
        held_ += 8;
    }
    return true;
}

int HuffmanDecoder::nextSymbol() {
    int node = root_;
    if (node <= kEndOfStream) return node;
    // Near the stream's end, where fewer than eight bits are left, the walk goes bit by bit.
    if (hold(8)) {
        const Step step = steps_[(rack_ >> (held_ - 8)) & 0xFFu];
        held_ -= step.length;
        node = step.node;
    }
    while (node > kEndOfStream) {
        if (!hold(1)) return -1;
        const auto& n = nodes_[static_cast<size_t>(node)];
        node = (rack_ >> --held_) & 1u ? n.Child1 : n.Child0;
    }
    return node;
}

bool decompressImage(std::FILE* stream, std::string& text, std::string& error) {
    HuffmanDecoder decoder(stream);
    if (!decoder.readHeader()) {
        error = decoder.error();
        return false;
    }
    text.clear();
    for (;;) {
        const int symbol = decoder.nextSymbol();
        if (symbol == kEndOfStream) return true;
        if (symbol < 0) {
            error = kStreamCutShort;
            return false;
        }
        text += static_cast<char>(symbol);
    }
}

std::string compressImage(std::string_view text) {
    const auto counts = scaledCounts(text);
    std::string out;
    putCountHeader(out, counts);
    HuffNodes nodes{};
    for (size_t i = 0; i < counts.size(); ++i) nodes[i].Count = static_cast<int16_t>(counts[i]);
    nodes[kEndOfStream].Count = 1;
    const auto root = buildTree(nodes);  // scaledCounts keeps every sum in range
    const auto codes = codesOf(nodes, root.value_or(kEndOfStream));
    BitWriter bits(out);
    for (const char c : text) bits.put(codes[static_cast<unsigned char>(c)]);
    bits.put(codes[kEndOfStream]);
    bits.finish();
    return out;
}

}  // namespace zel::firmware
