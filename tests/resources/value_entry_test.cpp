// What each window writes for what the user types or clicks, and what it reports.
#include <QFile>
#include <functional>

#include "link/link_claim.h"

#include "resources/analog_window_model.h"
#include "resources/digital_window_model.h"
#include "resources/flag_window_model.h"
#include "resources/register_window_model.h"
#include "resource_fixture.h"
#include "resources/servo_model.h"

using namespace zel;
using zel::test::ResourceFixture;

namespace {

class ValueEntry : public ResourceFixture {
protected:
    QString lastCall() const { return lib.calls().isEmpty() ? QString() : lib.calls().last(); }
    QString writeOf(PagedWindowModel& model, int r, const QString& text) {
        lib.clearCalls();
        enter(model, r, text);
        return lastCall();
    }
};

}  // namespace

TEST_F(ValueEntry, DecimalEntriesAreClampedAndRoundedHalfToEven) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    EXPECT_EQ(writeOf(reg, 0, QStringLiteral("99999999999")),
              QStringLiteral("ZlPutRegister(7, 1, 2147483647)"));
    EXPECT_EQ(writeOf(reg, 1, QStringLiteral("12.5")), QStringLiteral("ZlPutRegister(7, 2, 12)"));
    jump(reg, QStringLiteral("17"));
    writeOf(reg, 0, QStringLiteral("5"));
    EXPECT_EQ(messages.last(), QStringLiteral("Register #17 updated."));
    EXPECT_FALSE(reg.editGuard().active());
}

TEST_F(ValueEntry, HexadecimalEntryAndDisplay) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    reg.displayMenuClicked();  // "&Decimal" while decimal is checked: switches
    EXPECT_TRUE(reg.hexView());
    EXPECT_EQ(reg.modeCaption(), QStringLiteral("Hexadecimal View"));
    EXPECT_EQ(writeOf(reg, 0, QStringLiteral("FF")), QStringLiteral("ZlPutRegister(7, 1, 255)"));
    EXPECT_EQ(writeOf(reg, 0, QStringLiteral("12.5G")), QStringLiteral("ZlPutRegister(7, 1, 12)"));
    lib.setRegister(1, -1);
    lib.setRegister(2, 4096);
    tick(reg);
    EXPECT_EQ(reg.row(0).value, QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(reg.row(1).value, QStringLiteral("1000"));
}

TEST_F(ValueEntry, FailedWritesAndNoLink) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    lib.queueResults(ZelCall::PutRegister, {0});
    lib.setError(5, QStringLiteral("Timeout"));
    writeOf(reg, 0, QStringLiteral("3"));
    EXPECT_TRUE(
        messages.last().startsWith(QStringLiteral("Failed to update register value!\nTimeout")));

    state.flags.NoCommunication = true;
    EXPECT_EQ(writeOf(reg, 2, QStringLiteral("9")), QString());
    EXPECT_EQ(reg.row(2).value, QStringLiteral("9"));  // stays until the box is left
    EXPECT_TRUE(reg.editGuard().skips(2));
}

TEST_F(ValueEntry, NvRegistersAboveThe36000OnModel5HoldDoubles) {
    state.connection.ModelCode = 5;
    RegisterWindowModel nv(services(), RegisterBank::Upper);
    nv.open();
    jump(nv, QStringLiteral("36000"));
    EXPECT_EQ(writeOf(nv, 1, QStringLiteral("3.25")),
              QStringLiteral("ZlSetVRegister(7, 36001, 3.25)"));
    EXPECT_EQ(lib.vRegisterValue(36001), 3.25);
    EXPECT_EQ(messages.last(), QStringLiteral("Register #36001 updated."));
    EXPECT_EQ(writeOf(nv, 0, QStringLiteral("3.25")), QStringLiteral("ZlPutRegister(7, 36000, 3)"));

    lib.setVRegister(36002, 2.5);
    const QList<int32_t> plain = tick(nv);
    EXPECT_EQ(plain, QList<int32_t>{36000});
    EXPECT_EQ(nv.row(2).value, QStringLiteral("2.5"));

    state.connection.ModelCode = 3;
    EXPECT_EQ(tick(nv), zel::test::range(36000, 36015));
}

TEST_F(ValueEntry, FlagsAreWrittenByNumberAndLibraryKind) {
    state.connection.Counts.setMain({400, 16, 16, 0, 4, 8, 4});
    FlagWindowModel flags(services());
    flags.open();
    jump(flags, QStringLiteral("300"));
    lib.clearCalls();
    flags.flagClicked(0);
    EXPECT_EQ(lastCall(), QStringLiteral("ZlPutRegister(7, 13500, 1)"));
    EXPECT_EQ(flags.row(0).value, QStringLiteral("Set"));
    EXPECT_EQ(messages.last(), QStringLiteral("Flag #300 updated."));

    jump(flags, QStringLiteral("40"));
    tick(flags);
    flags.flagClicked(0);  // an older library: only flags up to 32 directly
    EXPECT_EQ(lastCall(), QStringLiteral("ZlPutRegister(7, 13240, 1)"));

    const QString newer = dir.filePath(QStringLiteral("libzelcom.so.3.0.3.1"));
    QFile(newer).open(QIODevice::WriteOnly);
    lib.setFileName(newer);
    flags.flagClicked(0);
    EXPECT_EQ(lastCall(), QStringLiteral("ZlPutFlag(7, 40, 0)"));
    EXPECT_EQ(flags.row(0).value, QStringLiteral("Clear"));

    lib.queueResults(ZelCall::PutFlag, {0});
    flags.flagClicked(0);
    EXPECT_EQ(flags.row(0).value, QStringLiteral("Set"));  // flipped whatever the result
    EXPECT_TRUE(messages.last().startsWith(QStringLiteral("Failed to update Flag value!\n")));
}

// The write itself is checked against the simulator in the end-to-end test.
TEST_F(ValueEntry, OutputClicksWithoutALinkShowTheNewStateAndWriteNothing) {
    DigitalWindowModel out(services(), DigitalKind::Outputs);
    out.open();
    lib.setRegister(1005, 1);
    tick(out);
    EXPECT_EQ(out.row(4).value, QStringLiteral("On"));
    EXPECT_EQ(out.row(4).name, QStringLiteral("OUT_5_ON"));
    EXPECT_EQ(out.row(4).colour, StateColour::Green);

    state.flags.NoCommunication = true;
    lib.clearCalls();
    out.outputClicked(4);
    EXPECT_EQ(out.row(4).name, QStringLiteral("OUT_5_OFF"));
    EXPECT_EQ(out.row(4).value, QStringLiteral("Off"));
    EXPECT_EQ(out.row(4).colour, StateColour::Red);
    EXPECT_TRUE(lib.calls().isEmpty());
}

TEST_F(ValueEntry, DigitalRowsShowFailedReadsAsOffAndOddValuesAsNothing) {
    DigitalWindowModel in(services(), DigitalKind::Inputs);
    in.open();
    lib.setRegister(2002, 7);
    lib.setResponder(ZelCall::GetRegister,
                     [](const QVector<int32_t>& a) { return a[1] == 2001 ? 0 : 1; });
    EXPECT_EQ(in.row(0).name, QStringLiteral("in_1A"));
    tick(in);
    EXPECT_EQ(in.row(0).name, QStringLiteral("in_1B"));
    EXPECT_EQ(in.row(0).value, QStringLiteral("Off"));
    EXPECT_EQ(in.row(0).colour, StateColour::Red);
    EXPECT_TRUE(state.flags.CommErrorFlag);
    EXPECT_EQ(in.row(1).name, QString());
    EXPECT_EQ(in.row(1).value, QString());
    EXPECT_EQ(in.row(1).colour, StateColour::Black);
}

TEST_F(ValueEntry, AnalogOutputsClampToTwentyThousand) {
    AnalogWindowModel aout(services(), AnalogKind::Outputs);
    aout.open();
    EXPECT_EQ(writeOf(aout, 2, QStringLiteral("25000")),
              QStringLiteral("ZlPutRegister(7, 8003, 20000)"));
    EXPECT_EQ(messages.last(), QStringLiteral("Analog output #3 updated."));
    EXPECT_EQ(writeOf(aout, 2, QStringLiteral("-1.5")),
              QStringLiteral("ZlPutRegister(7, 8003, -2)"));

    AnalogWindowModel ain(services(), AnalogKind::Inputs);
    ain.open();
    EXPECT_EQ(writeOf(ain, 0, QStringLiteral("5")), QString());
}

TEST_F(ValueEntry, AnalogReadsTellAbsentChannelsFromFailures) {
    AnalogWindowModel ain(services(), AnalogKind::Inputs);
    ain.open();
    lib.setResponder(ZelCall::GetRegister,
                     [](const QVector<int32_t>& a) { return a[1] == 8507 ? 0 : 1; });
    lib.setError(216, QStringLiteral("Not present"));
    tick(ain);
    EXPECT_EQ(ain.row(6).value, QStringLiteral("N/A"));
    EXPECT_FALSE(state.flags.CommErrorFlag);

    lib.setError(3, QStringLiteral("Timeout"));
    tick(ain);
    EXPECT_EQ(ain.row(6).value, QStringLiteral("*"));
    EXPECT_TRUE(state.flags.CommErrorFlag);

    jump(ain, QStringLiteral("250"));  // clamped to 241: channels 241..256 all exist
    EXPECT_EQ(ain.row(15).number, QStringLiteral("256"));
}

TEST_F(ValueEntry, ServoPositionsAreWrittenEvenWithoutALink) {
    state.connection.Counts.setMain({64, 16, 16, 0, 20, 8, 4});
    ServoModel servos(services());
    servos.openFirst();
    servos.openSecond(services().showMessageBox);
    EXPECT_EQ(servos.row(2).name, QStringLiteral("motor/servo_3"));
    EXPECT_EQ(servos.row(20).position, QStringLiteral("N/A"));
    state.flags.NoCommunication = true;
    EXPECT_TRUE(servos.positionKey(16, u'1'));
    EXPECT_TRUE(servos.editGuard().skips(16));
    servos.setPositionText(16, QStringLiteral("1000.5"));
    lib.clearCalls();
    EXPECT_FALSE(servos.positionKey(16, QChar(13)));
    EXPECT_EQ(lib.calls(), QStringList{QStringLiteral("ZlPutRegister(7, 14017, 1000)")});
    EXPECT_EQ(messages.last(), QStringLiteral("Servo #17 position updated."));
    EXPECT_FALSE(servos.editGuard().active());

    lib.queueResults(ZelCall::PutRegister, {0});
    servos.positionKey(0, QChar(13));
    EXPECT_TRUE(
        messages.last().startsWith(QStringLiteral("Failed to update servo position value!\n")));

    servos.positionKey(3, u'5');
    servos.positionFocusLost(3);
    EXPECT_EQ(servos.row(3).position, QString());
    EXPECT_FALSE(servos.editGuard().active());
}

// While a transfer holds the link every kind of write is refused in the status line, and the
// library is not called: a call would wait on the transfer's lock with the window frozen.
TEST_F(ValueEntry, WritesAreRefusedWhileATransferHoldsTheLink) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    FlagWindowModel flags(services());
    DigitalWindowModel out(services(), DigitalKind::Outputs);
    AnalogWindowModel aout(services(), AnalogKind::Outputs);
    ServoModel servos(services());
    reg.open();
    flags.open();
    out.open();
    aout.open();
    servos.openFirst();
    const struct {
        const char* write;
        std::function<void()> make;
    } cases[] = {
        {"register", [&] { enter(reg, 0, QStringLiteral("5")); }},
        {"flag", [&] { flags.flagClicked(0); }},
        {"output", [&] { out.outputClicked(0); }},
        {"analog output", [&] { enter(aout, 0, QStringLiteral("5")); }},
        {"servo position", [&] { servos.positionKey(0, QChar(13)); }},
    };
    const LinkClaim transfer(state, LinkUse::Transfer);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.write);
        lib.clearCalls();
        messages.clear();
        c.make();
        EXPECT_TRUE(lib.calls().isEmpty()) << lib.calls().join('|').toStdString();
        EXPECT_EQ(messages,
                  QStringList{"A transfer is in progress; try again when it has finished."});
    }
}
