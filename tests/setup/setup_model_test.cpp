// Opening and closing the dialog: what it shows, what it stores and what it asks of the main
// window, above all whether the connection is made again.
#include "setup_fixture.h"

namespace zel::test {
namespace {

TEST_F(SetupTest, OpeningAt9600BaudShows19200AndRemakesTheSerialConnection) {
    state.settings.CommType = 3;
    model.load();
    EXPECT_EQ(frame.rateIndex(), 1);
    EXPECT_EQ(frame.text(SetupField::Text1), "100");
    EXPECT_TRUE(frame.searchChecked());
    host.log.clear();
    model.unload();
    EXPECT_TRUE(state.flags.NoCommunication);
    EXPECT_TRUE(state.flags.ReconnectPending);
    EXPECT_FALSE(state.flags.SetupOpen);
    EXPECT_TRUE(state.settings.AutoBaudSearch);
    EXPECT_EQ(state.connection.ConnectionCaption, " - COMM 1 Baud 19200");
    EXPECT_EQ(host.asked(), sorted({"timer2", "title: ZEL Monitor V3.6 - COMM 1 Baud 19200",
                                    "message: Reestablishing Connection", "start timer1 10"}));
}

TEST_F(SetupTest, ExitWithOnlyANewTimeoutKeepsTheConnection) {
    model.load();
    frame.setText(SetupField::Text4, "5");
    host.log.clear();
    model.exit();
    EXPECT_EQ(state.settings.CommTimeout, 10);
    EXPECT_FALSE(state.flags.NoCommunication);
    EXPECT_EQ(host.asked(),
              sorted({"message: Establishing Connection", "timer2",
                      "title: ZEL Monitor V3.6 - TCP/IP 10.0.0.7", "start timer1 10"}));
    model.unload();  // the window closing after Exit unloads nothing twice
    EXPECT_EQ(host.log.size(), 4);
}

TEST_F(SetupTest, ExitCopiesTheFieldsButTheCloseBoxKeepsWhatTheHandlersStored) {
    const auto edit = [this] {
        model.load();
        frame.setText(SetupField::Text1, "77");
        frame.setText(SetupField::Text2, "9");
        frame.setText(SetupField::Text3, " plc-7 ");
        frame.setText(SetupField::Adapter, "twelve");
    };
    edit();
    model.unload();
    EXPECT_EQ(state.settings.HostNode, 100);
    EXPECT_EQ(state.settings.TargetNode, 9);  // the target node is read on every close
    EXPECT_EQ(state.settings.ControllerHost, "10.0.0.7");
    edit();
    model.exit();
    EXPECT_EQ(state.settings.HostNode, 77);
    EXPECT_EQ(state.settings.ControllerHost, " plc-7 ");
    EXPECT_EQ(state.settings.AdapterIndex, 2);  // unreadable: the last stored value stays
}

TEST_F(SetupTest, WhileSuspendedClosingLeavesPollingOff) {
    state.flags.UserSuspended = true;
    state.flags.NoCommunication = true;
    model.load();
    host.log.clear();
    model.unload();
    EXPECT_EQ(host.asked(), sorted({"timer2", "title: ZEL Monitor V3.6 - TCP/IP 10.0.0.7"}));
}

TEST(ConnectionChange, OnlyWhatTheOpenLinkDependsOnRemakesIt) {
    using Change = void (*)(ConnectionSettings&);
    const std::vector<std::tuple<int, Change, bool>> cases = {
        {kCommZelNet, [](ConnectionSettings& s) { s.HostNode = 4; }, true},
        {kCommZelNet, [](ConnectionSettings& s) { s.ControllerIP = "1.2.3.4"; }, false},
        {kCommUdp, [](ConnectionSettings& s) { s.ControllerIP = "1.2.3.4"; }, true},
        {kCommTcp, [](ConnectionSettings& s) { s.BaudRate = 9600; }, false},
        {kCommTcp, [](ConnectionSettings& s) { s.CommType = kCommUdp; }, true},
        {3, [](ConnectionSettings& s) { s.TargetNode = 4; }, false},
    };
    for (const auto& [kind, change, remade] : cases) {
        ConnectionSettings now;
        now.CommType = kind;
        const SavedConnection saved = SavedConnection::of(now);
        change(now);
        EXPECT_EQ(connectionMustBeRemade(saved, now), remade) << kind;
    }
}

}  // namespace
}  // namespace zel::test
