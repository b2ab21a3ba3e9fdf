#include <gtest/gtest.h>

#include <limits>

#include "bit_value.h"
#include "io_counts.h"
#include "packet_checksum.h"

namespace zel {
namespace {

QByteArray bytes(std::initializer_list<uint8_t> values) {
    QByteArray out;
    for (uint8_t v : values) out.append(static_cast<char>(v));
    return out;
}

TEST(PacketChecksum, SumsFromTheThirdByteAndAppendsComplementAndTerminator) {
    EXPECT_EQ(AppendPacketChecksum(bytes({0x01, 0x02, 0x10, 0x20})),
              bytes({0x01, 0x02, 0x10, 0x20, 0xCF, 0xFF}));
}

TEST(PacketChecksum, UsesOnlyTheLowByteOfTheSum) {
    // 0xFF + 0xFF + 0x03 = 0x201: low byte 1.
    EXPECT_EQ(AppendPacketChecksum(bytes({0xAA, 0xBB, 0xFF, 0xFF, 0x03})).right(2),
              bytes({0xFE, 0xFF}));
}

TEST(PacketChecksum, ShortPacketHasNothingToSum) {
    EXPECT_EQ(AppendPacketChecksum("A"), bytes({'A', 0xFF, 0xFF}));
    EXPECT_EQ(AppendPacketChecksum(""), bytes({0xFF, 0xFF}));
}

TEST(BitValue, HoldsPowersOfTwoAndTheSignBit) {
    EXPECT_EQ(BitValue[0], 1.0f);
    EXPECT_EQ(BitValue[10], 1024.0f);
    EXPECT_EQ(BitValue[30], 1073741824.0f);
    EXPECT_EQ(BitValue[31], -2147483648.0f);
    EXPECT_TRUE(bitIsSet(std::numeric_limits<int32_t>::min(), 31));
    EXPECT_TRUE(bitIsSet(5, 2));
    EXPECT_FALSE(bitIsSet(5, 1));
}

TEST(IOCounts, KeepsLibraryOrderAndClampsTo16Bits) {
    IOCounts counts;
    counts.setMain({64, 32, 24, 2, 40000, 8, -40000});
    counts.setMisc({1, 2, 3, 4});
    EXPECT_EQ(counts.FlagCount(), 64);
    EXPECT_EQ(counts.InputCount(), 32);
    EXPECT_EQ(counts.OutputCount(), 24);
    EXPECT_EQ(counts.StepperCount(), 2);
    EXPECT_EQ(counts.ServoCount(), 32767);
    EXPECT_EQ(counts.AnalogInCount(), 8);
    EXPECT_EQ(counts.AnalogOutCount(), -32768);
    EXPECT_EQ(counts.PrototypeCount(), 1);
    EXPECT_EQ(counts.DisplayCount(), 4);
}

}  // namespace
}  // namespace zel
