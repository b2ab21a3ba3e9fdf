// Turning a scenario into a controller in its starting state.
#include "scenario.h"

namespace zel::sim {
namespace {

void preset(Controller& c, int reg, int32_t value, const std::string& name) {
    if (ErrorCode e = c.presetRegister(reg, value))
        throw ScenarioError(name + ": register " + std::to_string(reg) + " cannot be set (error " +
                            std::to_string(e) + ")");
}

void applyNetwork(Controller& c, const NetworkSetup& n, const std::string& name) {
    c.setNetworkPresent(true);
    preset(c, kNetNode, n.node, name);
    preset(c, kNetMacHigh, n.macHigh, name);
    preset(c, kNetMacLow, n.macLow, name);
    for (int i = 0; i < 4; ++i) {
        preset(c, kNetIp + i, n.ip[static_cast<size_t>(i)], name);
        preset(c, kNetMask + i, n.mask[static_cast<size_t>(i)], name);
        preset(c, kNetGateway + i, n.gateway[static_cast<size_t>(i)], name);
    }
}

void applyTable(Controller& c, const TableSetup& t) {
    c.table() = DataTable(t.rows, t.columns);
    for (size_t r = 0; r < t.values.size(); ++r)
        if (!t.values[r].empty()) c.table().write(static_cast<int>(r + 1), 1, t.values[r]);
}

}  // namespace

std::unique_ptr<Controller> buildController(const Scenario& s, const std::string& name,
                                            Controller::WallClock wallClock) {
    auto c = std::make_unique<Controller>(s.model, std::move(wallClock));
    if (s.network) applyNetwork(*c, *s.network, name);
    applyTable(*c, s.table);
    for (const auto& [reg, value] : s.registers) preset(*c, reg, value, name);
    for (const auto& [reg, value] : s.vRegisters)
        if (c->setVRegister(reg, value) != ZL_OK)
            throw ScenarioError(name + ": v_registers." + std::to_string(reg) +
                                ": this model has no V-registers");
    for (int flag : s.flagsSet) c->putFlag(flag, 1);
    c->putConfig(s.config);
    c->loadProgram(s.program);
    if (s.status & kStatusFreshReset) return c;
    c->putStatus(kStatusStopped);
    if (s.status & kStatusStopped) c->putStatus(0);
    return c;
}

Scenario defaultScenario() {
    Scenario s;
    s.model.code = 5;
    s.model.second = 1;
    s.model.io = IoCounts{32, 8, 8, 0, 0, 2, 2};
    Step loop;
    loop.number = 1;
    loop.dwellMs = 1000;
    loop.next = 1;
    s.program.steps.emplace(1, loop);
    return s;
}

}  // namespace zel::sim
