#include <gtest/gtest.h>

#include <algorithm>

#include "frame.h"
#include "wire.h"

using namespace zel::codec;

namespace {

Frame sample(uint32_t id = 7) {
    Frame f;
    f.type = FrameType::Reply;
    f.id = id;
    f.opcode = 0x12;
    f.status = 0;
    f.target_node = 3;
    f.source_node = 9;
    f.body = {1, 2, 3, 4, 5};
    return f;
}

void expectSame(const Frame& a, const Frame& b) {
    EXPECT_EQ(a.type, b.type);
    EXPECT_EQ(a.id, b.id);
    EXPECT_EQ(a.opcode, b.opcode);
    EXPECT_EQ(a.status, b.status);
    EXPECT_EQ(a.target_node, b.target_node);
    EXPECT_EQ(a.source_node, b.source_node);
    EXPECT_EQ(a.body, b.body);
}

}  // namespace

TEST(Crc32, MatchesTheStandardCheckValue) {
    const std::string text = "123456789";
    EXPECT_EQ(crc32({reinterpret_cast<const uint8_t*>(text.data()), text.size()}), 0xCBF43926u);
}

TEST(Datagram, RoundTripsAndRejectsAnyDamage) {
    const auto bytes = encodeFrame(sample());
    auto decoded = decodeDatagram(bytes);
    ASSERT_TRUE(decoded);
    expectSame(*decoded, sample());

    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(decodeDatagram({bytes.data(), cut})) << "cut at " << cut;
    for (size_t i = 0; i < bytes.size(); ++i) {
        auto damaged = bytes;
        damaged[i] ^= 0x40;
        EXPECT_FALSE(decodeDatagram(damaged)) << "flipped byte " << i;
    }
    auto longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(decodeDatagram(longer));
}

TEST(StreamDecoder, FindsEveryGoodFrameAmongGarbageDamageAndImpossibleLengths) {
    auto corrupt = encodeFrame(sample(1));
    corrupt[corrupt.size() - 6] ^= 0xFF;  // body byte: the CRC no longer matches
    auto tooLong = encodeFrame(sample(2));
    tooLong[16] = 0xFF;  // body length far beyond the limit: not waited for
    tooLong[17] = 0xFF;
    std::vector<uint8_t> stream = {'Z', 'L', 'x', 0, 'Z'};
    for (const auto& part : {corrupt, tooLong, encodeFrame(sample(3)), encodeFrame(sample(4))})
        stream.insert(stream.end(), part.begin(), part.end());

    // Fed whole or one byte at a time, the same frames come out.
    for (size_t step : {stream.size(), size_t{1}}) {
        StreamDecoder d;
        std::vector<uint32_t> ids;
        for (size_t at = 0; at < stream.size(); at += step) {
            d.feed({stream.data() + at, std::min(step, stream.size() - at)});
            while (auto f = d.next()) ids.push_back(f->id);
        }
        EXPECT_EQ(ids, (std::vector<uint32_t>{3, 4})) << "fed " << step << " at a time";
        EXPECT_EQ(d.buffered(), 0u);
        EXPECT_GE(d.discarded(), corrupt.size() + tooLong.size());
    }
}

TEST(ByteReader, FailsInsteadOfReadingPastTheEndAndStaysFailed) {
    const std::vector<uint8_t> bytes = {1, 0, 0, 0, 2};
    ByteReader r(bytes);
    EXPECT_EQ(r.i32(), 1);
    EXPECT_FALSE(r.u16());
    EXPECT_FALSE(r.u8());  // one byte is left, but the reader has already failed
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.done());
}

TEST(ByteWriter, WritesLittleEndian) {
    ByteWriter w;
    w.i32(-2);
    w.u16(0xBEEF);
    w.f64(3.25);  // 0x400A000000000000
    EXPECT_EQ(w.take(), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xBE, 0, 0, 0, 0, 0, 0,
                                              0x0A, 0x40}));
}
