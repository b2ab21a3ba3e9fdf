// A running simulator and the real library connected to it over TCP, with the state a
// connection leaves behind: handle, model code, task count and resource counts.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "link/dynamic_zel_library.h"
#include "link/host_resolution.h"
#include "link/model_class.h"
#include "tests/support/sim_process.h"

namespace zel::test {

class SimLink {
public:
    // A simulator without a scenario file runs the built-in controller.
    explicit SimLink(const std::string& scenario)
        : sim(scenario.empty() ? std::vector<std::string>{"--tcp", "0"}
                               : std::vector<std::string>{"--scenario", scenario, "--tcp", "0"}) {
        ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
        int32_t timeout = 2000, second = 0;
        ConnectionState& c = state.connection;
        c.CommHandle =
            lib.ZlOpenNetConnection(LinkKind::Tcp, 0, *dottedToAddress("127.0.0.1"), timeout);
        lib.ZlGetModel(c.CommHandle, c.ModelCode, second);
        c.TaskCount = taskCountForModel(c.ModelCode);
        std::array<int32_t, 7> counts{};
        lib.ZlGetIoCount(c.CommHandle, counts);
        c.Counts.setMain(counts);
        state.flags.NoCommunication = state.flags.CommErrorFlag = false;
    }
    ~SimLink() {
        if (handle() > 0) lib.ZlCloseConnection(handle());
        ::unsetenv("ZELCOM_TCP_PORT");
    }

    int32_t handle() const { return state.connection.CommHandle; }
    // The controller's register, read past the monitor.
    int32_t reg(int32_t number) {
        int32_t value = 0;
        EXPECT_EQ(lib.ZlGetRegister(handle(), number, value), 1) << number;
        return value;
    }

    SimProcess sim;
    DynamicZelLibrary lib{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    AppState state;
};

}  // namespace zel::test
