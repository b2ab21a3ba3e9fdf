// A register file uploaded from a simulated controller and downloaded into a second one of the
// same model through the real library: the second ends with the first one's values.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/support/sim_link.h"
#include "transfer/named_file_view.h"
#include "transfer/register_transfer.h"

using namespace zel;

TEST(RegisterEndToEnd, UploadFromOneControllerDownloadIntoAnother) {
    struct Case {
        const char* scenario;
        // register -> value the second controller must end with
        std::vector<std::pair<int32_t, int32_t>> expected;
        std::pair<int32_t, double> vRegister;  // 0 when the model has none
    };
    const Case cases[] = {
        {"registers_model1.json", {{1, 11}, {500, -5}, {1000, 1000}}, {0, 0.0}},
        {"registers_model5.json", {{1, 11}, {128, 0}, {1000, 1000}, {32001, 7}, {35000, -9}},
         {36800, -0.125}},
        {"registers_model14.json", {{1, 11}, {1000, 1000}, {36500, 365}, {40000, -40000}},
         {0, 0.0}},
    };
    for (const Case& c : cases) {
        const std::string scenario = std::string(ZELSIM_SCENARIOS) + "/" + c.scenario;
        QTemporaryDir dir;
        NamedFileView view(dir.filePath("regs.txt"));
        {
            test::SimLink source(scenario);
            RegisterTransfer(source.state, source.lib, view, {}).upload();
            ASSERT_EQ(view.message, "Register read completed.") << c.scenario;
        }
        test::SimLink target(scenario);
        // The second controller starts out different wherever the file has a value.
        for (const auto& [number, value] : c.expected)
            ASSERT_EQ(target.lib.ZlPutRegister(target.handle(), number, value + 1), 1);
        if (c.vRegister.first != 0) {
            VRegister record{c.vRegister.first, 99.0};
            ASSERT_EQ(target.lib.ZlSetVRegister(target.handle(), record), 1);
        }
        RegisterTransfer(target.state, target.lib, view, {}).download();
        ASSERT_EQ(view.message, "Register file write completed.") << c.scenario;
        for (const auto& [number, value] : c.expected)
            EXPECT_EQ(target.reg(number), value) << c.scenario << " register " << number;
        if (c.vRegister.first != 0) {
            VRegister record{c.vRegister.first, 0.0};
            ASSERT_EQ(target.lib.ZlGetVRegister(target.handle(), record), 1);
            EXPECT_EQ(record.value, c.vRegister.second);
        }
    }
}
