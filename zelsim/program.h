// A step program: numbered steps, each dwelling for a time and then moving to its next step.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zel::sim {

inline constexpr int kMaxStepNumber = 65535;

struct RegisterWrite {
    int reg = 0;
    int32_t value = 0;
};

struct StepFault {
    int code = 0;
    int32_t datum = 0;
};

struct Step {
    int number = 0;
    int dwellMs = 0;
    int next = 0;                       // 0: the task ends after this step
    std::vector<int> starts;            // each starts a new task at that step
    std::vector<RegisterWrite> writes;  // done on entering the step
    std::optional<StepFault> fault;     // raised on entering the step, after the writes
};

struct Program {
    std::map<int, Step> steps;

    const Step* find(int number) const;
};

// Problems that load but fault when reached: references to steps that do not exist.
std::vector<std::string> programWarnings(const Program& program);

}  // namespace zel::sim
