// The network address frame: reading the controller's addresses, typing them, writing them.
#include "setup_fixture.h"

namespace zel::test {
namespace {

class NetworkTest : public SetupTest {
protected:
    NetworkAddresses& net = model.network();

    void SetUp() override {
        SetupTest::SetUp();
        const std::vector<std::pair<int, int>> registers = {
            {20000, 3},  {20048, 192},  {20049, 168},  {20050, 1},
            {20051, 50}, {20005, 4660}, {20006, 43981}};
        for (const auto& [number, value] : registers) lib.setRegister(number, value);
        model.load();
    }
    // The register numbers read or written, in order.
    QStringList registersOf(ZelCall call) const {
        QStringList numbers;
        for (const QString& entry : lib.callsTo(call))
            numbers << entry.section(", ", 1, 1).remove(u')');
        return numbers;
    }
    void failRegister(ZelCall call, int number, const QString& error) {
        lib.setResponder(call,
                         [number](const QVector<int32_t>& a) { return a[1] == number ? 0 : 1; });
        lib.setError(5, error);
    }
};

TEST_F(NetworkTest, OpeningTheFrameReadsEveryAddressInOrder) {
    net.clickFrame();
    EXPECT_EQ(net.takeFocusRequest(), 0);
    EXPECT_EQ(registersOf(ZelCall::GetRegister).join(' '),
              "20000 20048 20049 20050 20051 20064 20065 20066 20067 20080 20081 20082 20083 "
              "20005 20006");
    EXPECT_EQ(net.fieldText(3), "50");
    EXPECT_EQ(net.fieldText(kNodeField), "3");
    EXPECT_EQ(net.macText(), "00123400ABCD");
    EXPECT_EQ(macIdText(4660, 255), "0012340000FF");
    EXPECT_EQ(frame.text(SetupField::Text2), "3");
    EXPECT_EQ(state.settings.ControllerIP, "192.168.1.50");

    net.clickFrame();                    // closes
    state.settings.CommType = kCommUdp;  // a UDP link keeps its address
    state.settings.ControllerIP = "10.0.0.7";
    net.clickFrame();
    EXPECT_EQ(state.settings.ControllerIP, "10.0.0.7");
}

TEST_F(NetworkTest, ReadFailuresStopAndSayWhy) {
    failRegister(ZelCall::GetRegister, 20049, "Illegal register");
    net.GetAddresses();
    EXPECT_EQ(host.boxes,
              QStringList{"Failed to get IP addresses! They don't exist in the controller"});
    EXPECT_EQ(registersOf(ZelCall::GetRegister).last(), "20049");

    host.boxes.clear();
    failRegister(ZelCall::GetRegister, 20049, "No reply from controller");
    net.GetAddresses();
    EXPECT_EQ(host.boxes, QStringList{"Failed to update register value!\n" + state.LibError.text});

    lib.clearCalls();
    state.connection.Connected = false;
    net.GetAddresses();
    EXPECT_TRUE(lib.calls().isEmpty());
}

TEST_F(NetworkTest, FieldsKeepOnlyTheirLeadingNumberAndDotsMoveOn) {
    int field = 0;
    for (QChar key : QStringLiteral("192.168.1.10 "))
        if (net.keyPress(field, key.unicode()))
            field = *net.takeFocusRequest();
        else
            net.setFieldText(field, net.fieldText(field) + key);
    EXPECT_EQ(QStringList({net.fieldText(0), net.fieldText(3)}), QStringList({"192", "10"}));
    EXPECT_EQ(field, 4);
    net.setFieldText(4, "25x");
    EXPECT_EQ(net.fieldText(4), "25");
    net.clickField(4);
    EXPECT_EQ(net.fieldText(4), "");
    EXPECT_TRUE(net.keyPress(kNodeField, ' '));
    EXPECT_EQ(net.takeFocusRequest(), 0);
}

TEST_F(NetworkTest, ApplyWritesNodeOctetsAndLoadCommandInOrder) {
    for (int i = 0; i < kAddressFieldCount; ++i) net.setFieldText(i, QString::number(i + 1));
    net.setFieldText(3, "300");
    net.apply();
    EXPECT_EQ(registersOf(ZelCall::PutRegister).join(' '),
              "20000 20048 20049 20050 20051 20064 20065 20066 20067 20080 20081 20082 20083 "
              "20096");
    EXPECT_EQ(lib.registerValue(20051), 300);  // written as typed, no octet check
    EXPECT_EQ(state.settings.TargetNode, 13);
    EXPECT_EQ(state.settings.ControllerIP, "1.2.3.300");
    EXPECT_EQ(host.boxes.join(""),
              "Addresses loaded! Cycle power on your controller for these "
              "values to take effect.");
}

TEST_F(NetworkTest, ApplyStopsAtTheFirstRefusedWriteOrWithoutConnection) {
    failRegister(ZelCall::PutRegister, 20065, "Bad value");
    net.apply();
    EXPECT_EQ(registersOf(ZelCall::PutRegister).last(), "20065");
    EXPECT_EQ(host.boxes, QStringList{"Failed to update IP Addresses!\n" + state.LibError.text});

    host.boxes.clear();
    lib.clearCalls();
    state.connection.Connected = false;
    net.apply();
    EXPECT_TRUE(lib.calls().isEmpty());
    EXPECT_EQ(host.boxes,
              QStringList{"Can't load network addresses. Not connected to controller."});
}

}  // namespace
}  // namespace zel::test
