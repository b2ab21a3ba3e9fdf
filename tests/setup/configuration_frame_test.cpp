// What the configuration frame shows of the connected controller, and the input buttons.
#include "setup_fixture.h"

namespace zel::test {
namespace {

using Texts4 = std::array<QString, 4>;
const Texts4 kUnknownStatus = {"Run State Unknown", "Run Mode Unknown", "Run Status Unknown",
                               "Reset State Unknown"};
const Texts4 kUnknownInputs = {"Unknown", "Unknown", "Unknown", "Unknown"};

TEST_F(SetupTest, ConfigurationShowsOnlyWhatIsKnown) {
    ConfigurationFrame& config = model.configuration();
    ConnectionState& c = state.connection;
    c.Counts.setMain({64, 16, 12, 0, 4, 8, 2});
    c.Counts.setMisc({1, 2, 3, 4});
    c.ControllerStatusBits = 0b0101;
    c.InputConfigBits = 0b1001;
    config.fill();  // model still unknown
    EXPECT_EQ(config.values()[0], "N/A");
    EXPECT_EQ(config.statusLines(), kUnknownStatus);

    c.ModelCode = 5;
    config.fill();
    const std::array<QString, 12> nonEa = {"64", "16",  "12",  "0",   "4",   "8",
                                           "2",  "N/A", "N/A", "N/A", "N/A", "Non-EA"};
    EXPECT_EQ(config.values(), nonEa);
    EXPECT_EQ(config.inputCaptions(), kUnknownInputs);

    c.EATypeController = true;
    config.fill();
    EXPECT_EQ(config.values()[10], "4");
    EXPECT_EQ(config.values()[11], "EA Type");
    EXPECT_EQ(config.statusLines(),
              (Texts4{"Controller STOPPED", "Normal Mode", "Controller Software Fault",
                      "Controller mid-program"}));
    EXPECT_EQ(config.inputCaptions(), (Texts4{"Active", "Idle", "Idle", "Active"}));
}

TEST_F(SetupTest, InputButtonFlipsOneBitSendsTheWordAndReportsARefusal) {
    ConfigurationFrame& config = model.configuration();
    state.connection.InputConfigBits = 0x13;
    config.clickInput(0);
    config.clickInput(2);
    EXPECT_EQ(lib.calls(), QStringList({"ZlPutConfig(7, 18)", "ZlPutConfig(7, 22)"}));
    EXPECT_EQ(config.inputCaptions()[0], "Idle");
    EXPECT_EQ(config.inputCaptions()[2], "Active");
    EXPECT_TRUE(host.log.isEmpty());

    lib.queueResults(ZelCall::PutConfig, {0});
    config.clickInput(3);
    EXPECT_EQ(host.log, QStringList{"message: Failed to update configuration!"});
    EXPECT_EQ(config.inputCaptions()[3], "Active");  // the change stays shown
}

}  // namespace
}  // namespace zel::test
