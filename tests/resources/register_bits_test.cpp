// The Register bits window: value boxes and their check boxes, bit clicks written by the next
// tick, typed writes, the two ranges.
#include "resource_fixture.h"
#include "resources/register_bits_model.h"

using namespace zel;
using zel::test::range;
using zel::test::ResourceFixture;

namespace {

class RegisterBits : public ResourceFixture {
protected:
    RegisterBitsModel bits{services()};

    void SetUp() override {
        ResourceFixture::SetUp();
        bits.open();
    }
    // The check boxes of row r read as a register word.
    uint32_t word(int r) const {
        uint32_t checked = 0;
        for (int k = 0; k < RegisterBitsModel::BitsPerRow; ++k)
            if (bits.bit(r * RegisterBitsModel::BitsPerRow + k)) checked |= 1u << k;
        return checked;
    }
    QStringList writes() const { return lib.callsTo(ZelCall::PutRegister); }
};

}  // namespace

TEST_F(RegisterBits, AClickedBitIsWrittenOnceByTheNextTickBeforeTheReads) {
    struct Case {
        int32_t controller;
        int bit;
        const char* shown;
        uint32_t checked;
        const char* written;
    };
    const Case cases[] = {
        {0, 31, "-2147483648", 0x8000'0000u, "ZlPutRegister(7, 1, -2147483648)"},
        {5, 0, "4", 4, "ZlPutRegister(7, 1, 4)"},
        {5, 1, "7", 7, "ZlPutRegister(7, 1, 7)"},
        {-1, 31, "2147483647", 0x7FFF'FFFFu, "ZlPutRegister(7, 1, 2147483647)"},
    };
    for (const Case& c : cases) {
        lib.setRegister(1, c.controller);
        tick(bits);
        lib.clearCalls();
        bits.bitClicked(c.bit);
        EXPECT_EQ(bits.row(0).value, QString::fromLatin1(c.shown)) << c.controller;
        EXPECT_EQ(word(0), c.checked) << c.controller;
        EXPECT_TRUE(lib.calls().isEmpty());  // nothing until the tick

        EXPECT_EQ(tick(bits), range(1, 16));
        EXPECT_EQ(lib.calls().first(), QString::fromLatin1(c.written));
        EXPECT_EQ(writes().size(), 1);
        EXPECT_EQ(messages.last(), QStringLiteral("Register #1 updated."));
        tick(bits);
        EXPECT_TRUE(writes().isEmpty()) << c.controller;
    }
}

TEST_F(RegisterBits, TheClickedRegisterIsTheOneOnScreenAtTheClick) {
    lib.setRegister(32100, 8);
    bits.selectRange(RegisterBank::Upper);
    bits.setPosition(97);
    tick(bits);
    bits.bitClicked(3 * 32 + 2);  // row 3: register 32100
    bits.setPosition(1);
    tick(bits);
    EXPECT_EQ(lib.calls().first(), QStringLiteral("ZlPutRegister(7, 32100, 12)"));
}

TEST_F(RegisterBits, TypedTextSetsTheBitsAndOutOfRangeTextShowsZero) {
    const std::tuple<const char*, const char*, uint32_t> cases[] = {
        {"3000000000", "0", 0},
        {"2147483648", "-2147483648", 0x8000'0000u},
        {"-1", "-1", 0xFFFF'FFFFu},
        {"12.5", "12.5", 12},
    };
    for (const auto& [typed, shown, checked] : cases) {
        lib.setRegister(1, -1);
        tick(bits);
        bits.valueKey(0, QChar::fromLatin1(typed[0]));
        EXPECT_EQ(word(0), 0u) << typed;  // the first key empties the box
        bits.setValueText(0, QString::fromLatin1(typed));
        EXPECT_EQ(bits.row(0).value, QString::fromLatin1(shown)) << typed;
        EXPECT_EQ(word(0), checked) << typed;
        bits.valueFocusLost(0);
    }
}

// 3000000000 has become "0" by the time Enter is pressed.
TEST_F(RegisterBits, EnterWritesTheClampedValueAtOnce) {
    const std::tuple<const char*, const char*> cases[] = {
        {"3000000000", "ZlPutRegister(7, 3, 0)"},
        {"2147483647.7", "ZlPutRegister(7, 3, 2147483647)"},
    };
    for (const auto& [typed, written] : cases) {
        lib.clearCalls();
        enter(bits, 2, QString::fromLatin1(typed));
        EXPECT_EQ(lib.calls(), QStringList{QString::fromLatin1(written)});
        EXPECT_EQ(messages.last(), QStringLiteral("Register #3 updated."));
        EXPECT_FALSE(bits.editGuard().active());
    }
}

TEST_F(RegisterBits, ClicksWhileATypedValueIsWrittenAreIgnored) {
    lib.setResponder(ZelCall::PutRegister, [this](const QVector<int32_t>&) {
        bits.bitClicked(5 * 32 + 4);
        return 1;
    });
    enter(bits, 0, QStringLiteral("6"));
    EXPECT_FALSE(bits.writePending());
    EXPECT_FALSE(bits.bit(5 * 32 + 4));
    EXPECT_EQ(bits.row(5).value, QStringLiteral("0"));
}

TEST_F(RegisterBits, AFailedBitWriteReportsTheLibraryTextAndIsNotRetried) {
    lib.queueResults(ZelCall::PutRegister, {0});
    lib.setError(5, QStringLiteral("Timeout"));
    bits.bitClicked(0);
    tick(bits);
    EXPECT_TRUE(
        messages.last().startsWith(QStringLiteral("Failed to update register value!\nTimeout")));
    tick(bits);
    EXPECT_TRUE(writes().isEmpty());
}

// The pending click keeps its bits until the tick, and the tick takes the typed row back.
TEST_F(RegisterBits, APendingClickHoldsTheBitsAndReleasesTheRowUnderEdit) {
    lib.setRegister(8, 70);
    bits.bitClicked(0);
    bits.valueKey(7, u'3');
    bits.setValueText(7, QStringLiteral("3"));
    EXPECT_EQ(word(7), 0u);
    EXPECT_TRUE(tick(bits).contains(8));
    EXPECT_EQ(bits.row(7).value, QStringLiteral("70"));
    EXPECT_EQ(word(7), 70u);
    EXPECT_FALSE(bits.editGuard().active());
}

TEST_F(RegisterBits, RangesPageAndClampTheGotoBox) {
    EXPECT_EQ(bits.maximum(), 31985);
    const std::tuple<RegisterBank, const char*, const char*, const char*> cases[] = {
        {RegisterBank::Lower, "40000", "31985", "32000"},
        {RegisterBank::Upper, "40000", "35985", "36000"},
        {RegisterBank::Upper, "5", "32001", "32016"},
        {RegisterBank::Upper, "33000", "33000", "33015"},
    };
    for (const auto& [bank, typed, top, bottom] : cases) {
        bits.selectRange(bank);
        jump(bits, QString::fromLatin1(typed));
        EXPECT_EQ(bits.gotoText(), QString::fromLatin1(top)) << typed;
        EXPECT_EQ(bits.row(0).number, QString::fromLatin1(top)) << typed;
        EXPECT_EQ(bits.row(15).number, QString::fromLatin1(bottom)) << typed;
    }
    lib.setRegister(32001, 9);
    bits.selectRange(RegisterBank::Upper);
    EXPECT_EQ(bits.maximum(), 3985);
    EXPECT_EQ(bits.gotoText(), QStringLiteral("32001"));
    EXPECT_EQ(tick(bits), range(32001, 32016));
    EXPECT_EQ(word(0), 9u);
    bits.selectRange(RegisterBank::Lower);
    EXPECT_EQ(bits.row(0).value, QStringLiteral("0"));
    EXPECT_EQ(word(0), 0u);
    EXPECT_EQ(bits.row(0).number, QStringLiteral("1"));

    EXPECT_FALSE(bits.valueKey(4, u'r'));  // R in a value box empties the GoTo box
    EXPECT_EQ(bits.gotoText(), QString());
    EXPECT_EQ(bits.row(4).value, QStringLiteral("0"));
}

TEST_F(RegisterBits, KeepsNoPlacementAndReportsItsUnload) {
    EXPECT_TRUE(state.flags.windows.RegbitsFormOpen);
    bits.selectRange(RegisterBank::Upper);
    bits.unload(settings::DisplayState::Normal, {1, 2, 3, 4});
    EXPECT_FALSE(state.flags.windows.RegbitsFormOpen);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Register Form unloaded.")});
    EXPECT_FALSE(bits.open().has_value());
    EXPECT_EQ(bits.range(), RegisterBank::Lower);
    EXPECT_EQ(bits.row(0).number, QStringLiteral("1"));
    EXPECT_TRUE(boxes.isEmpty());
}
