// Little-endian byte writer and bounds-checked reader for protocol bodies.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

namespace zel::codec {

class ByteWriter {
public:
    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16(uint16_t v) { put(v, 2); }
    void u32(uint32_t v) { put(v, 4); }
    void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        put(bits, 8);
    }
    void bytes(std::span<const uint8_t> data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }
    // 32-bit words in one copy on a little-endian host.
    void i32s(std::span<const int32_t> words) {
        if constexpr (std::endian::native == std::endian::little) {
            bytes({reinterpret_cast<const uint8_t*>(words.data()), words.size_bytes()});
        } else {
            for (int32_t word : words) i32(word);
        }
    }
    std::vector<uint8_t>& data() { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    void put(uint64_t v, int width) {
        // Room for a small body at once, instead of a reallocation at the first, second and
        // fourth byte.
        if (bytes_.capacity() == 0) bytes_.reserve(32);
        for (int i = 0; i < width; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t> bytes_;
};

// Every read fails (returns nullopt) instead of running past the end; once a read has failed
// the reader stays failed, so a decoder can check ok() once at the end.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    std::optional<uint8_t> u8() { return take<uint8_t>(1); }
    std::optional<uint16_t> u16() { return take<uint16_t>(2); }
    std::optional<uint32_t> u32() { return take<uint32_t>(4); }
    std::optional<int16_t> i16() {
        auto v = u16();
        return v ? std::optional<int16_t>(static_cast<int16_t>(*v)) : std::nullopt;
    }
    std::optional<int32_t> i32() {
        auto v = u32();
        return v ? std::optional<int32_t>(static_cast<int32_t>(*v)) : std::nullopt;
    }
    std::optional<double> f64() {
        auto v = take<uint64_t>(8);
        if (!v) return std::nullopt;
        double d;
        std::memcpy(&d, &*v, sizeof d);
        return d;
    }
    // Fills out with 32-bit words in one copy on a little-endian host; on too few bytes it fails
    // and writes nothing.
    bool i32s(std::span<int32_t> out) {
        const size_t n = out.size() * sizeof(int32_t);
        if (failed_ || remaining() < n) {
            failed_ = true;
            return false;
        }
        if constexpr (std::endian::native == std::endian::little) {
            if (n != 0) std::memcpy(out.data(), data_.data() + pos_, n);
            pos_ += n;
        } else {
            for (int32_t& word : out) word = *i32();
        }
        return true;
    }
    std::optional<std::span<const uint8_t>> bytes(size_t n) {
        if (failed_ || remaining() < n) return fail<std::span<const uint8_t>>();
        auto out = data_.subspan(pos_, n);
        pos_ += n;
        return out;
    }
    std::span<const uint8_t> rest() {
        auto out = data_.subspan(pos_);
        pos_ = data_.size();
        return out;
    }
    size_t remaining() const { return data_.size() - pos_; }
    bool ok() const { return !failed_; }
    // True when every byte was read and nothing failed: bodies carry no trailing bytes.
    bool done() const { return !failed_ && pos_ == data_.size(); }

private:
    template <typename T>
    std::optional<T> fail() {
        failed_ = true;
        return std::nullopt;
    }
    template <typename T>
    std::optional<T> take(size_t width) {
        if (failed_ || remaining() < width) return fail<T>();
        uint64_t v = 0;
        for (size_t i = 0; i < width; ++i) v |= uint64_t{data_[pos_ + i]} << (8 * i);
        pos_ += width;
        return static_cast<T>(v);
    }

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace zel::codec
