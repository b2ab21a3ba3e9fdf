// A controller of the given model, running the given program from its first step.
#pragma once

#include "controller.h"
#include "program.h"

namespace zel::sim::test {

inline Controller runningController(int modelCode, Program program) {
    ModelInfo m;
    m.code = modelCode;
    m.io = IoCounts{32, 8, 8, 0, 2, 2, 2};
    Controller c(m);
    c.loadProgram(std::move(program));
    c.advance(0);
    c.putStatus(1);
    return c;
}

}  // namespace zel::sim::test
