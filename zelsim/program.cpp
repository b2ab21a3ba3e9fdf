#include "program.h"

namespace zel::sim {

const Step* Program::find(int number) const {
    auto it = steps.find(number);
    return it == steps.end() ? nullptr : &it->second;
}

std::vector<std::string> programWarnings(const Program& program) {
    std::vector<std::string> out;
    if (!program.find(1)) out.push_back("there is no step 1 to begin with");
    for (const auto& [number, step] : program.steps) {
        const std::string at = "step " + std::to_string(number);
        if (step.next != 0 && !program.find(step.next))
            out.push_back(at + ": next step " + std::to_string(step.next) + " does not exist");
        for (int s : step.starts)
            if (!program.find(s))
                out.push_back(at + ": starts a task at missing step " + std::to_string(s));
    }
    return out;
}

}  // namespace zel::sim
