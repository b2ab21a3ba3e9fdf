// The connection frame's field rules: what typing, Enter and leaving a field store.
#include "setup_fixture.h"

namespace zel::test {
namespace {

class ConnectionFrameTest : public SetupTest {
protected:
    void SetUp() override {
        SetupTest::SetUp();
        model.load();
        host.log.clear();
    }
};

TEST_F(ConnectionFrameTest, EnterClampsNodeFieldsAndOnlyNodesFollowIntoDde) {
    type(SetupField::Text1, "0\r");
    type(SetupField::Text2, "40000\r");
    type(SetupField::Adapter, "12\r");
    type(SetupField::Text2, "32767\r");  // unchanged: nothing more to tell
    EXPECT_EQ(frame.text(SetupField::Text1), "1");
    EXPECT_EQ(frame.text(SetupField::Text2), "32767");
    EXPECT_EQ(frame.text(SetupField::Adapter), "10");
    EXPECT_EQ(state.settings.HostNode, 1);
    EXPECT_EQ(state.settings.TargetNode, 32767);
    EXPECT_EQ(state.settings.AdapterIndex, 10);
    EXPECT_EQ(host.log, QStringList({"dde node 1", "dde node 32767"}));
}

TEST_F(ConnectionFrameTest, LeavingClampsDifferentlyAndTheFirstKeyFlagIsShared) {
    type(SetupField::Text1, "0");
    type(SetupField::Text2, "7");  // the flag is still set: added to, not replaced
    EXPECT_EQ(frame.text(SetupField::Text2), "37");
    frame.leave(SetupField::Text1);
    EXPECT_EQ(frame.text(SetupField::Text1), "32767");
    EXPECT_EQ(state.settings.HostNode, 32767);
    type(SetupField::Text2, "0");  // replaced again after the leave
    frame.leave(SetupField::Text2);
    EXPECT_EQ(frame.text(SetupField::Text2), "1");
    EXPECT_EQ(state.settings.TargetNode, 1);
}

TEST_F(ConnectionFrameTest, TimeoutIsClampedOnLeaveWithoutRewritingTheText) {
    const std::vector<std::pair<QString, int>> cases = {
        {"5", 10}, {"99999.5", 30000}, {"12ms", 30000}};
    for (const auto& [typed, stored] : cases) {
        frame.setText(SetupField::Text4, typed);
        frame.leave(SetupField::Text4);
        EXPECT_EQ(state.settings.CommTimeout, stored) << typed.toStdString();
        EXPECT_EQ(frame.text(SetupField::Text4), typed);
    }
}

TEST_F(ConnectionFrameTest, EachKindEnablesItsControlsAndZelNetFillsAnEmptyHostNode) {
    const Enabling network{false, false, false, true, false};
    const Enabling serial{true, false, false, false, false};
    const std::vector<std::pair<int, Enabling>> cases = {
        {1, network}, {2, network}, {3, serial}, {18, serial}};
    for (const auto& [kind, expected] : cases) {
        frame.chooseKind(kind);
        EXPECT_EQ(frame.enabling(), expected) << kind;
    }
    frame.setText(SetupField::Text1, "");
    state.flags.CommErrorFlag = false;
    frame.chooseKind(kCommZelNet);
    EXPECT_EQ(frame.enabling(), (Enabling{false, true, true, false, true}));
    EXPECT_EQ(frame.text(SetupField::Text1), "32001");
    EXPECT_EQ(state.settings.HostNode, 32001);
    EXPECT_TRUE(state.flags.CommErrorFlag);
}

TEST_F(ConnectionFrameTest, LeavingTheAddressResolvesItThroughTheCounterField) {
    frame.setText(SetupField::Text3, "  localhost ");
    frame.leave(SetupField::Text3);
    EXPECT_EQ(frame.resolveIPText(), "1");
    EXPECT_EQ(state.settings.ControllerHost, "localhost");
    EXPECT_EQ(state.settings.ControllerIP, "127.0.0.1");
    EXPECT_FALSE(state.settings.HostIsIP);

    frame.setText(SetupField::Text3, "192.168.1.10");
    frame.setResolveIPText("1");  // no change of the counter, no resolution
    EXPECT_EQ(state.settings.ControllerIP, "127.0.0.1");
    frame.leave(SetupField::Text3);
    EXPECT_EQ(state.settings.ControllerIP, "192.168.1.10");
    EXPECT_TRUE(state.settings.HostIsIP);
}

}  // namespace
}  // namespace zel::test
