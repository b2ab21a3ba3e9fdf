// The network address frame against the simulator through the real library over TCP/IP.
#include <gtest/gtest.h>

#include <cstdlib>

#include "link/dynamic_zel_library.h"
#include "link/host_resolution.h"
#include "setup_fixture.h"
#include "tests/support/sim_process.h"

namespace zel::test {
namespace {

class SetupEndToEnd : public ::testing::Test {
protected:
    DynamicZelLibrary lib{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    AppState state;
    RecordingHost host;
    SetupModel model{state, lib, host};
    NetworkAddresses& net = model.network();

    void connectTo(const SimProcess& sim) {
        ASSERT_TRUE(lib.isLoaded()) << lib.loadError().toStdString();
        ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
        int32_t timeout = 1000;
        const int32_t handle =
            lib.ZlOpenNetConnection(LinkKind::Tcp, 0, *dottedToAddress(QStringLiteral("127.0.0.1")), timeout);
        ASSERT_GT(handle, 0);
        lib.ZlSetConnectionTimeout(handle, timeout);
        state.connection.CommHandle = handle;
        state.connection.Connected = true;
        state.settings.CommType = kCommTcp;
        state.settings.ControllerHost = state.settings.ControllerIP = "127.0.0.1";
        model.load();
    }
    void TearDown() override {
        if (state.connection.CommHandle != 0) lib.ZlCloseConnection(state.connection.CommHandle);
        ::unsetenv("ZELCOM_TCP_PORT");
    }
    int32_t controllerRegister(int32_t number) {
        int32_t value = 0;
        EXPECT_EQ(lib.ZlGetRegister(state.connection.CommHandle, number, value), 1);
        return value;
    }
};

TEST_F(SetupEndToEnd, ReadsAndWritesTheDemoControllersAddresses) {
    SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"});
    connectTo(sim);
    net.clickFrame();
    EXPECT_TRUE(host.boxes.isEmpty()) << host.boxes.join('|').toStdString();
    EXPECT_EQ(net.fieldText(kNodeField), "3");
    EXPECT_EQ(net.fieldText(7), "0");
    EXPECT_EQ(net.macText(), "00123400ABCD");
    EXPECT_EQ(state.settings.ControllerIP, "192.168.1.50");

    net.setFieldText(3, "77");
    net.setFieldText(kNodeField, "9");
    net.apply();
    EXPECT_TRUE(host.boxes.join("").startsWith("Addresses loaded!"));
    EXPECT_EQ(controllerRegister(20051), 77);
    EXPECT_EQ(controllerRegister(20000), 9);
    EXPECT_EQ(state.settings.TargetNode, 9);
    EXPECT_EQ(state.settings.ControllerIP, "192.168.1.77");
}

TEST_F(SetupEndToEnd, ControllerWithoutNetworkRegistersRefusesTheRead) {
    SimProcess sim({"--tcp", "0"});
    connectTo(sim);
    net.clickFrame();
    ASSERT_EQ(host.boxes.size(), 1);
    EXPECT_TRUE(host.boxes[0].startsWith("Failed to update register value!\nIllegal register"))
        << host.boxes[0].toStdString();
    EXPECT_EQ(net.fieldText(0), "");
}

}  // namespace
}  // namespace zel::test
