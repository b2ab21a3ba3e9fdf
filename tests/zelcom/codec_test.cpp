#include <gtest/gtest.h>

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

TEST(StreamDecoder, ReassemblesFramesFedOneByteAtATime) {
    auto a = encodeFrame(sample(1)), b = encodeFrame(sample(2));
    a.insert(a.end(), b.begin(), b.end());
    StreamDecoder d;
    std::vector<uint32_t> ids;
    for (uint8_t byte : a) {
        d.feed({&byte, 1});
        while (auto f = d.next()) ids.push_back(f->id);
    }
    EXPECT_EQ(ids, (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(d.buffered(), 0u);
}

TEST(StreamDecoder, SkipsGarbageAndCorruptFramesToFindTheNextGoodOne) {
    auto corrupt = encodeFrame(sample(1));
    corrupt[corrupt.size() - 6] ^= 0xFF;  // body byte: the CRC no longer matches
    std::vector<uint8_t> stream = {'Z', 'L', 'x', 0, 'Z'};
    stream.insert(stream.end(), corrupt.begin(), corrupt.end());
    const auto good = encodeFrame(sample(2));
    stream.insert(stream.end(), good.begin(), good.end());

    StreamDecoder d;
    d.feed(stream);
    auto f = d.next();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->id, 2u);
    EXPECT_FALSE(d.next());
    EXPECT_GT(d.discarded(), corrupt.size() - 1);
}

TEST(StreamDecoder, ALengthBeyondTheLimitIsNotWaitedFor) {
    auto bad = encodeFrame(sample(1));
    bad[16] = 0xFF;  // body length far beyond the limit
    bad[17] = 0xFF;
    const auto good = encodeFrame(sample(2));
    bad.insert(bad.end(), good.begin(), good.end());
    StreamDecoder d;
    d.feed(bad);
    auto f = d.next();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->id, 2u);
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

TEST(ByteWriter, WritesLittleEndianThatTheReaderReadsBack) {
    ByteWriter w;
    w.i32(-2);
    w.u16(0xBEEF);
    w.f64(3.25);
    w.i16(-25536);
    ByteReader r(w.data());
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.u16(), 0xBEEF);
    EXPECT_EQ(r.f64(), 3.25);
    EXPECT_EQ(r.i16(), -25536);
    EXPECT_TRUE(r.done());
    EXPECT_EQ(w.data()[0], 0xFE);
}
