// Scenario files: the demo loads, mistakes are reported with their place, options merge.
#include <gtest/gtest.h>

#include "line_pacer.h"
#include "options.h"
#include "scenario.h"

namespace zel::sim {
namespace {

std::string errorOf(const std::string& text) {
    try {
        parseScenario(text, "s.json");
    } catch (const ScenarioError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(Scenario, DemoBuildsARunningControllerWithALivelyWorld) {
    const Scenario s = loadScenarioFile(ZELSIM_DEMO_SCENARIO);
    EXPECT_TRUE(programWarnings(s.program).empty());
    auto c = buildController(s, "demo");
    EXPECT_TRUE(c->running());
    EXPECT_EQ(c->getRegister(20000).value, 3);  // the network registers are present
    EXPECT_NE(c->task(0).keys[0], 0u);          // task 0 has started its tasks

    Animator world(s.animations);
    world.advance(0, *c);
    world.advance(1000, *c);
    EXPECT_EQ(c->getRegister(2001).value, 1);
    // The demo table's counting cell: one count every 500 ms.
    EXPECT_EQ(c->table().read(5, 8, 8).value, std::vector<uint16_t>{2});
}

// The table scenarios: a large table for transfers and one without any.
TEST(Scenario, TableScenariosHaveTheTablesTheyName) {
    struct Case {
        const char* file;
        int rows;
        int columns;
        std::vector<uint16_t> lastRowStart;  // columns 1..3 of the last row
    };
    const Case cases[] = {
        {"big_table.json", 1000, 64, {65535, 65535, 65535}},
        {"no_table.json", 0, 0, {}},
    };
    for (const Case& c : cases) {
        const Scenario s = loadScenarioFile(std::string(ZELSIM_SCENARIOS) + "/" + c.file);
        EXPECT_TRUE(programWarnings(s.program).empty()) << c.file;
        const auto controller = buildController(s, c.file);
        const DataTable& table = controller->table();
        EXPECT_EQ(table.rows(), c.rows) << c.file;
        EXPECT_EQ(table.columns(), c.columns) << c.file;
        const Result<std::vector<uint16_t>> last = table.read(c.rows, 1, 3);
        if (c.rows == 0)
            EXPECT_EQ(last.error, ZL_ERR_NO_DATA_TABLE) << c.file;
        else
            EXPECT_EQ(last.value, c.lastRowStart) << c.file;
    }
    const Scenario big = loadScenarioFile(std::string(ZELSIM_SCENARIOS) + "/big_table.json");
    EXPECT_EQ(buildController(big, "big")->table().read(2, 63, 64).value,
              (std::vector<uint16_t>{127, 128}));
}

TEST(Scenario, MistakesNameTheFileAndTheField) {
    EXPECT_EQ(errorOf("{"), "s.json: not valid JSON");
    EXPECT_EQ(errorOf(R"({"io": {"flags": 257}})"), "s.json: io.flags: must be 0..256");
    EXPECT_EQ(errorOf(R"({"io": {"flagz": 2}})"), "s.json: io.flagz: unknown key");
    EXPECT_EQ(errorOf(R"({"model": {}})"), "s.json: model.code: is missing");
    EXPECT_EQ(errorOf(R"({"status": 4})"),
              "s.json: status: must be 0 (running), 1 (stopped), 8 or 9 (reset)");
    EXPECT_EQ(errorOf(R"({"program": {"steps": [{"number": 1}, {"number": 1}]}})"),
              "s.json: program.steps[1]: step 1 appears twice");
    EXPECT_EQ(errorOf(R"({"table": {"rows": 1, "columns": 2, "values": [[1, 2, 3]]}})"),
              "s.json: table.values[0]: more values than `columns`");
    EXPECT_EQ(errorOf(R"({"animations": [{"kind": "toggle_input", "input": 3}]})"),
              "s.json: animations[0]: input 3 is not present");
    EXPECT_EQ(errorOf(R"({"registers": {"abc": 1}})"),
              "s.json: registers.abc: key must be a number");
    EXPECT_EQ(errorOf(R"({"network": {"ip": [1, 2, 3]}})"),
              "s.json: network.ip: must be an array of 4 numbers");
}

TEST(Scenario, StartingValuesTheControllerRefusesAreReported) {
    Scenario s =
        parseScenario(R"({"model": {"code": 6}, "v_registers": {"36001": 1.5}})", "s.json");
    EXPECT_THROW(buildController(s, "s.json"), ScenarioError);
    s = parseScenario(R"({"registers": {"13008": 9}})", "s.json");
    EXPECT_THROW(buildController(s, "s.json"), ScenarioError);
    s = parseScenario(R"({"io": {"inputs": 2}, "registers": {"2002": 1}, "status": 9})", "s.json");
    const auto c = buildController(s, "s.json");
    EXPECT_EQ(c->getRegister(2002).value, 1);
    EXPECT_EQ(c->status(), 9);
}

TEST(Options, CommandLineFaultsReplaceTheScenarios) {
    const Options o = parseOptions({"--tcp", "0", "--pty", "--baud=19200", "--drop-every", "3",
                                    "--error-range", "100:120:205", "--seed", "7"});
    EXPECT_EQ(o.tcpPort, 0);
    EXPECT_TRUE(o.pty);
    EXPECT_TRUE(o.ptyLink.empty());
    EXPECT_EQ(o.baud, 19200);
    LinkFaultSettings scenario;
    scenario.latencyMs = 40;
    scenario.dropEvery = 10;
    const LinkFaultSettings merged = mergeLinkFaults(scenario, o);
    EXPECT_EQ(merged.latencyMs, 40);
    EXPECT_EQ(merged.dropEvery, 3);
    ASSERT_EQ(merged.errorRanges.size(), 1u);
    EXPECT_EQ(merged.errorRanges[0].code, 205);
    EXPECT_EQ(merged.seed, 7u);
    EXPECT_THROW(parseOptions({"--error-range", "5:1:205"}), UsageError);
    EXPECT_THROW(parseOptions({"--drop-rate", "1.5"}), UsageError);
    EXPECT_THROW(parseOptions({"--tcp"}), UsageError);
    EXPECT_THROW(parseOptions({"--frobnicate"}), UsageError);
    EXPECT_EQ(parseOptions({"--pty", "/tmp/line", "--udp", "0"}).ptyLink, "/tmp/line");
    EXPECT_EQ(parseOptions({}).speed, 1);
    EXPECT_EQ(parseOptions({"--speed", "20"}).speed, 20);
    EXPECT_THROW(parseOptions({"--speed", "0"}), UsageError);
}

TEST(Options, LineRateIsARateOrTheLinesAndTurnaroundNeedsIt) {
    EXPECT_FALSE(linePacing(parseOptions({"--pty"})).has_value());
    EXPECT_EQ(linePacing(parseOptions({"--pty", "--line-rate", "line"}))->baud, 0);
    const auto paced = linePacing(parseOptions({"--pty", "--line-rate=9600", "--turnaround", "5"}));
    EXPECT_EQ(paced->baud, 9600);
    EXPECT_EQ(paced->turnaround, std::chrono::milliseconds(5));
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--line-rate", "9600"},
                                                {"--pty", "--line-rate", "fast"},
                                                {"--pty", "--turnaround", "5"}})
        EXPECT_THROW(parseOptions(bad), UsageError) << bad[1];
}

}  // namespace
}  // namespace zel::sim
