// zelsim: a controller simulator behind the controller protocol.
#include <iostream>
#include <string>
#include <vector>

#include "dso.h"
#include "options.h"
#include "scenario.h"
#include "server.h"

using namespace zel::sim;

int main(int argc, char** argv) {
    Options options;
    try {
        options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::cerr << "zelsim: " << e.what() << "\n";
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    if (options.version) {
        std::cout << "zelsim " << ZELSIM_VERSION << "\n";
        return 0;
    }
    const std::string name =
        options.scenarioPath.empty() ? "default scenario" : options.scenarioPath;
    Scenario scenario;
    try {
        scenario = options.scenarioPath.empty() ? defaultScenario() : loadScenarioFile(name);
    } catch (const ScenarioError& e) {
        std::cerr << "zelsim: " << e.what() << "\n";
        return 2;
    }
    if (!options.writeDso.empty()) {
        try {
            writeDsoFile(options.writeDso, scenario.program);
        } catch (const DsoError& e) {
            std::cerr << "zelsim: " << e.what() << "\n";
            return 1;
        }
        return 0;
    }
    return runSimulator(options, scenario, name);
}
