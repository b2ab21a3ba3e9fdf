// The simulated controller's state and operations, free of I/O. Every operation returns a
// protocol error code (ZL_OK on success), so the request handler maps results one to one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "data_table.h"
#include "flag_bank.h"
#include "model.h"
#include "register_map.h"
#include "result.h"
#include "rtc.h"
#include "task_engine.h"

namespace zel::sim {

enum StatusBit : int32_t {
    kStatusStopped = 1,
    kStatusProgramming = 2,
    kStatusFault = 4,
    kStatusFreshReset = 8,
};

class Controller final : private TaskHost {
public:
    using WallClock = std::function<int64_t()>;  // host local time, seconds since 1970

    explicit Controller(const ModelInfo& model, WallClock wallClock = hostLocalSeconds);

    const ModelInfo& model() const { return model_; }
    int taskCount() const { return engine_.taskCount(); }

    // Registers 1..40000 through the protocol; read-only kinds refuse writes.
    Result<int32_t> getRegister(int number) const;
    ErrorCode putRegister(int number, int32_t value);
    // A module whose model code is unknown takes this one when it is written to its model
    // register, as a firmware update probes it; other values are refused.
    void acceptModelCode(int code) { acceptedModel_ = code; }
    // Sets any register, read-only kinds included: for the scenario and the animations.
    ErrorCode presetRegister(int number, int32_t value);
    // V-registers: doubles in 36001..40000, on model code 5 only.
    Result<double> getVRegister(int number) const;
    ErrorCode setVRegister(int number, double value);
    ErrorCode putFlag(int flag, int32_t value);
    bool flag(int n) const { return flags_.get(n); }

    int32_t status() const { return status_; }
    // A written status word is a command: bit 3 resets, else bit 0 starts, else it stops.
    ErrorCode putStatus(int32_t word);
    int32_t config() const { return config_; }
    ErrorCode putConfig(int32_t word);
    void setProgrammingMode(bool on);
    bool running() const { return (status_ & kStatusStopped) == 0; }
    const Fault& fault() const { return fault_; }

    // Network registers answer only on controllers that have them.
    void setNetworkPresent(bool present) { network_ = present; }
    bool networkPresent() const { return network_; }

    DataTable& table() { return table_; }
    const DataTable& table() const { return table_; }

    // Replaces the program; the controller is then reset and stopped.
    void loadProgram(Program program);
    const Program& program() const { return engine_.program(); }
    const Task& task(int t) const { return engine_.task(t); }

    // Moves the controller's time to `nowMs` (any monotonic millisecond count).
    void advance(int64_t nowMs);

private:
    ErrorCode writeRegister(int number, int32_t value) override {
        return putRegister(number, value);
    }
    void raiseFault(const Fault& fault) override;

    Result<int32_t> readSystem(const RegRef& ref, int number) const;
    ErrorCode writeSystem(const RegRef& ref, int number, int32_t value);
    ErrorCode presence(const RegRef& ref) const;
    int32_t plain(int number) const;
    void setPlain(int number, int32_t value);
    void resetProgram();
    ErrorCode start();

    ModelInfo model_;
    std::optional<int> acceptedModel_;
    WallClock wallClock_;
    std::vector<int32_t> registers_;
    std::vector<double> vRegisters_;
    FlagBank flags_;
    Rtc rtc_;
    DataTable table_;
    TaskEngine engine_;
    Fault fault_;
    int32_t status_ = kStatusStopped | kStatusFreshReset;
    int32_t config_ = 0;
    bool network_ = false;
    int64_t runMs_ = 0;
    std::optional<int64_t> lastNowMs_;
};

}  // namespace zel::sim
