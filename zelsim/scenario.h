// A scenario: which controller is simulated, its starting state, its program, the faults of
// its link and the movements of the world around it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "animation.h"
#include "controller.h"
#include "link_faults.h"
#include "model.h"
#include "program.h"

namespace zel::sim {

// A scenario file that cannot be used; what() names the file and the problem.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct NetworkSetup {
    int32_t node = 1;
    int32_t macHigh = 0;
    int32_t macLow = 0;
    std::array<int32_t, 4> ip{};
    std::array<int32_t, 4> mask{};
    std::array<int32_t, 4> gateway{};
};

struct TableSetup {
    int rows = 0;
    int columns = 0;
    std::vector<std::vector<uint16_t>> values;  // rows given, each with up to `columns` values
};

struct Scenario {
    ModelInfo model;
    std::optional<NetworkSetup> network;
    TableSetup table;
    std::map<int, int32_t> registers;
    std::map<int, double> vRegisters;
    std::vector<int> flagsSet;
    int32_t status = 0;  // 0: running from the start
    int32_t config = 0;
    Program program;
    LinkFaultSettings linkFaults;
    std::vector<Animation> animations;
};

Scenario parseScenario(const std::string& text, const std::string& name);
// Throws ScenarioError("<path>: <what is wrong>").
Scenario loadScenarioFile(const std::string& path);
// What runs without a scenario file: a small model 5 controller with one looping task.
Scenario defaultScenario();

// A controller in the scenario's starting state; throws ScenarioError (named `name`) when a
// starting value is refused by the controller.
std::unique_ptr<Controller> buildController(const Scenario& scenario, const std::string& name,
                                            Controller::WallClock wallClock = hostLocalSeconds);

}  // namespace zel::sim
