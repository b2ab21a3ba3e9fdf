// Each window's block of the polling tick reads exactly what its open page shows, lets events
// run every fourth row, and stops when the window closes or the link goes meanwhile.
#include "resources/analog_window_model.h"
#include "resources/digital_window_model.h"
#include "resources/flag_window_model.h"
#include "resources/register_window_model.h"
#include "resource_fixture.h"
#include "resources/servo_model.h"

using namespace zel;
using zel::test::range;
using zel::test::ResourceFixture;

namespace {

class Tick : public ResourceFixture {};

}  // namespace

TEST_F(Tick, EachBlockReadsOnlyItsVisiblePage) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    RegisterWindowModel nv(services(), RegisterBank::Upper);
    DigitalWindowModel in(services(), DigitalKind::Inputs);
    DigitalWindowModel out(services(), DigitalKind::Outputs);
    AnalogWindowModel ain(services(), AnalogKind::Inputs);
    AnalogWindowModel aout(services(), AnalogKind::Outputs);
    for (PagedWindowModel* m :
         std::initializer_list<PagedWindowModel*>{&reg, &nv, &in, &out, &ain, &aout})
        m->open();
    reg.setPosition(100);
    nv.setPosition(5);
    in.setPosition(3);
    aout.setPosition(241);
    EXPECT_EQ(tick(reg), range(100, 115));
    EXPECT_EQ(tick(nv), range(32005, 32020));
    EXPECT_EQ(tick(in), range(2003, 2018));
    EXPECT_EQ(tick(out), range(1001, 1016));
    EXPECT_EQ(tick(ain), range(8501, 8516));
    EXPECT_EQ(tick(aout), range(8241, 8256));
    EXPECT_EQ(pumps, 6 * 4);
}

TEST_F(Tick, FlagsReadTheWordsThatHoldThePage) {
    state.connection.Counts.setMain({24, 16, 16, 0, 4, 8, 4});
    FlagWindowModel small(services());
    small.open();
    lib.setRegister(13005, 0b1000'0000'0000'0000'0000'0101);
    EXPECT_EQ(tick(small), QList<int32_t>{13005});
    EXPECT_EQ(small.row(0).value, QStringLiteral("Set"));
    EXPECT_EQ(small.row(1).value, QStringLiteral("Clear"));
    EXPECT_EQ(small.row(2).value, QStringLiteral("Set"));
    small.setPosition(9);
    tick(small);
    EXPECT_EQ(small.row(15).value, QStringLiteral("Set"));  // flag 24, bit 23

    state.connection.Counts.setMain({100, 16, 16, 0, 4, 8, 4});
    FlagWindowModel many(services());
    many.open();
    many.setPosition(25);
    lib.setRegister(13021, static_cast<int32_t>(0x8000'0000u));  // flag 32
    lib.setRegister(13022, 0b1000'0001);                         // flags 33 and 40
    EXPECT_EQ(tick(many), (QList<int32_t>{13021, 13022}));
    EXPECT_EQ(many.row(7).value, QStringLiteral("Set"));
    EXPECT_EQ(many.row(8).value, QStringLiteral("Set"));
    EXPECT_EQ(many.row(9).value, QStringLiteral("Clear"));
    EXPECT_EQ(many.row(15).value, QStringLiteral("Set"));

    lib.queueResults(ZelCall::GetRegister, {1, 0});
    lib.setRegister(13022, 0);
    tick(many);  // a failed read leaves every button as it was
    EXPECT_EQ(many.row(15).value, QStringLiteral("Set"));
    EXPECT_TRUE(state.flags.CommErrorFlag);
}

TEST_F(Tick, ServosAreReadUpToTheCountAndOnlyForShowingWindows) {
    state.connection.Counts.setMain({64, 16, 16, 0, 18, 8, 4});
    ServoModel servos(services());
    servos.openFirst();
    lib.setRegister(14002, -40);
    QList<int32_t> firstWindow;
    for (int n = 1; n <= 16; ++n) firstWindow << 14000 + n << 14100 + n;
    EXPECT_EQ(tick(servos), firstWindow);
    EXPECT_EQ(servos.row(1).position, QStringLiteral("-40"));
    servos.openSecond(services().showMessageBox);
    EXPECT_EQ(tick(servos), firstWindow + QList<int32_t>({14017, 14117, 14018, 14118}));
}

TEST_F(Tick, ClosingTheWindowOrLosingTheLinkMidwayStopsTheBlock) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    onPump = [&] { reg.unload(settings::DisplayState::Normal, {}); };
    EXPECT_EQ(tick(reg), range(1, 4));

    AnalogWindowModel ain(services(), AnalogKind::Inputs);
    ain.open();
    lib.setRegister(8501, 300);
    onPump = [&] { state.flags.TableUploadBusy = true; };
    EXPECT_EQ(tick(ain), range(8501, 8504));
    EXPECT_EQ(ain.row(0).value, QStringLiteral("300"));
    for (int r = 4; r < 16; ++r) EXPECT_EQ(ain.row(r).value, QStringLiteral("N/A"));
}

TEST_F(Tick, ATypedRowIsLeftAloneWhileEventsRun) {
    RegisterWindowModel reg(services(), RegisterBank::Lower);
    reg.open();
    onPump = [&] {
        if (pumps != 1) return;
        reg.valueKey(9, u'8');
        reg.setValueText(9, QStringLiteral("8"));
    };
    EXPECT_FALSE(tick(reg).contains(10));
    EXPECT_EQ(reg.row(9).value, QStringLiteral("8"));
}
