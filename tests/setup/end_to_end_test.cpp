// The network address frame against the simulator through the real library over TCP/IP.
#include <gtest/gtest.h>

#include "setup_fixture.h"
#include "tests/support/sim_link.h"

namespace zel::test {
namespace {

// The setup dialog over a TCP/IP link to a simulator of the given scenario.
struct SetupEndToEnd {
    explicit SetupEndToEnd(const std::string& scenario) : link(scenario) {
        EXPECT_GT(link.handle(), 0) << link.lib.loadError().toStdString();
        link.state.connection.Connected = true;
        link.state.settings.CommType = kCommTcp;
        link.state.settings.ControllerHost = link.state.settings.ControllerIP = "127.0.0.1";
        model.load();
    }
    SimLink link;
    AppState& state = link.state;
    RecordingHost host;
    SetupModel model{state, link.lib, host};
    NetworkAddresses& net = model.network();
};

TEST(SetupEndToEnd, ReadsAndWritesTheDemoControllersAddresses) {
    SetupEndToEnd t(ZELSIM_DEMO_SCENARIO);
    t.net.clickFrame();
    EXPECT_TRUE(t.host.boxes.isEmpty()) << t.host.boxes.join('|').toStdString();
    EXPECT_EQ(t.net.fieldText(kNodeField), "3");
    EXPECT_EQ(t.net.fieldText(7), "0");
    EXPECT_EQ(t.net.macText(), "00123400ABCD");
    EXPECT_EQ(t.state.settings.ControllerIP, "192.168.1.50");

    t.net.setFieldText(3, "77");
    t.net.setFieldText(kNodeField, "9");
    t.net.apply();
    EXPECT_TRUE(t.host.boxes.join("").startsWith("Addresses loaded!"));
    EXPECT_EQ(t.link.reg(20051), 77);
    EXPECT_EQ(t.link.reg(20000), 9);
    EXPECT_EQ(t.state.settings.TargetNode, 9);
    EXPECT_EQ(t.state.settings.ControllerIP, "192.168.1.77");
}

TEST(SetupEndToEnd, ControllerWithoutNetworkRegistersRefusesTheRead) {
    SetupEndToEnd t({});
    t.net.clickFrame();
    ASSERT_EQ(t.host.boxes.size(), 1);
    EXPECT_TRUE(t.host.boxes[0].startsWith("Failed to update register value!\nIllegal register"))
        << t.host.boxes[0].toStdString();
    EXPECT_EQ(t.net.fieldText(0), "");
}

}  // namespace
}  // namespace zel::test
