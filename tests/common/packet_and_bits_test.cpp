#include <gtest/gtest.h>

#include <limits>

#include "common/bit_value.h"
#include "common/io_counts.h"
#include "common/packet_checksum.h"

namespace zel {
namespace {

QByteArray bytes(std::initializer_list<uint8_t> values) {
    QByteArray out;
    for (uint8_t v : values) out.append(static_cast<char>(v));
    return out;
}

// The sum starts at the third byte and keeps only its low byte; its complement and 255 follow.
TEST(PacketChecksum, SumsFromTheThirdByteAndAppendsComplementAndTerminator) {
    const std::pair<QByteArray, QByteArray> cases[] = {
        {bytes({0x01, 0x02, 0x10, 0x20}), bytes({0x01, 0x02, 0x10, 0x20, 0xCF, 0xFF})},
        {bytes({0xAA, 0xBB, 0xFF, 0xFF, 0x03}), bytes({0xAA, 0xBB, 0xFF, 0xFF, 0x03, 0xFE, 0xFF})},
        {"A", bytes({'A', 0xFF, 0xFF})},
        {"", bytes({0xFF, 0xFF})},
    };
    for (const auto& [packet, sealed] : cases)
        EXPECT_EQ(AppendPacketChecksum(packet), sealed) << packet.toHex(' ').toStdString();
}

TEST(BitValue, TestsEveryBitIncludingTheSignBit) {
    EXPECT_TRUE(bitIsSet(std::numeric_limits<int32_t>::min(), 31));
    EXPECT_FALSE(bitIsSet(std::numeric_limits<int32_t>::max(), 31));
    EXPECT_TRUE(bitIsSet(5, 2));
    EXPECT_FALSE(bitIsSet(5, 1));
}

TEST(IOCounts, KeepsLibraryOrderAndClampsTo16Bits) {
    IOCounts counts;
    counts.setMain({64, 32, 24, 2, 40000, 8, -40000});
    counts.setMisc({1, 2, 3, 4});
    EXPECT_EQ(counts.FlagCount(), 64);
    EXPECT_EQ(counts.ServoCount(), 32767);
    EXPECT_EQ(counts.AnalogOutCount(), -32768);
    EXPECT_EQ(counts.PrototypeCount(), 1);
    EXPECT_EQ(counts.DisplayCount(), 4);
}

}  // namespace
}  // namespace zel
