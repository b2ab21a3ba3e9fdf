// The step program: tasks starting tasks, their keys, their end, and software faults.
#include <gtest/gtest.h>

#include "controller.h"
#include "running_controller.h"

namespace zel::sim {
namespace {

using test::runningController;

Step step(int number, int dwell, int next, std::vector<int> starts = {},
          std::vector<RegisterWrite> writes = {}) {
    Step s;
    s.number = number;
    s.dwellMs = dwell;
    s.next = next;
    s.starts = std::move(starts);
    s.writes = std::move(writes);
    return s;
}

Program programOf(std::vector<Step> steps) {
    Program p;
    for (Step& s : steps) p.steps.emplace(s.number, std::move(s));
    return p;
}

TEST(ProgramRun, TasksStartTasksAndTheirKeyBitsFollowThem) {
    // Task 0 starts two tasks at step 1; the one at 10 ends after 300 ms, the one at 20 loops.
    Controller c = runningController(5, programOf({step(1, 1000, 1, {10, 20}), step(10, 100, 11),
                                                   step(11, 200, 0), step(20, 50, 20)}));
    EXPECT_EQ(c.task(0).step, 1);
    EXPECT_EQ(c.task(1).step, 10);
    EXPECT_EQ(c.task(2).step, 20);
    EXPECT_EQ(c.task(0).keys[0], 0b11u);
    EXPECT_EQ(c.task(1).starter, 0);

    c.advance(150);
    EXPECT_EQ(c.task(1).step, 11);
    c.advance(300);  // task 1 ends: not executed, and task 0 no longer holds its bit
    EXPECT_EQ(c.task(1).step, 0);
    EXPECT_EQ(c.task(1).state, 0);
    EXPECT_EQ(c.task(0).keys[0], 0b10u);
    EXPECT_EQ(c.task(2).step, 20);

    c.advance(1000);  // task 0 repeats step 1: task 1 is free again and is taken first, then 3
    EXPECT_EQ(c.task(1).step, 10);
    EXPECT_EQ(c.task(3).step, 20);
    EXPECT_EQ(c.task(0).keys[0], 0b111u);
}

TEST(ProgramRun, NothingMovesWhileStoppedAndResetReturnsToStepOne) {
    Controller c = runningController(5, programOf({step(1, 100, 2), step(2, 100, 1)}));
    c.putStatus(0);
    c.advance(5000);
    EXPECT_EQ(c.task(0).step, 1);
    c.putStatus(1);
    c.advance(5150);  // 150 ms of run time since the stop
    EXPECT_EQ(c.task(0).step, 2);
    c.putStatus(8);
    EXPECT_EQ(c.task(0).step, 1);
    EXPECT_EQ(c.status(), 9);
}

TEST(ProgramRun, StepsWriteRegistersAndSetOutputs) {
    Controller c = runningController(5, programOf({step(1, 100, 2, {}, {{1001, 1}, {500, 77}}),
                                                   step(2, 100, 1, {}, {{1001, 0}})}));
    EXPECT_EQ(c.getRegister(1001).value, 1);
    EXPECT_EQ(c.getRegister(500).value, 77);
    c.advance(100);
    EXPECT_EQ(c.getRegister(1001).value, 0);
}

TEST(ProgramRun, AFaultStopsTheControllerUntilReset) {
    Step bad = step(2, 100, 0);
    bad.fault = StepFault{12, 2};
    Controller c = runningController(5, programOf({step(1, 100, 2), bad}));
    c.advance(100);
    EXPECT_EQ(c.status() & (kStatusStopped | kStatusFault), kStatusStopped | kStatusFault);
    EXPECT_EQ(c.fault().code, 12);
    EXPECT_EQ(c.fault().step, 1);  // zero-based
    EXPECT_EQ(c.fault().datum, 2);
    EXPECT_EQ(c.putStatus(1), ZL_ERR_BAD_VALUE);  // a faulted program does not start again
    c.advance(10000);
    EXPECT_EQ(c.task(0).step, 2);
    c.putStatus(8);
    EXPECT_EQ(c.fault().code, 0);
    EXPECT_EQ(c.status(), 9);
}

TEST(ProgramRun, RuntimeProblemsBecomeTheMatchingFaults) {
    // A missing next step, a missing step 1, too many tasks and a write to an absent output.
    Controller missing = runningController(5, programOf({step(1, 10, 7)}));
    missing.advance(10);
    EXPECT_EQ(missing.fault().code, 3);
    EXPECT_EQ(missing.fault().datum, 7);
    EXPECT_EQ(missing.fault().step, 0);

    Controller empty = runningController(5, programOf({step(2, 10, 0)}));
    EXPECT_EQ(empty.fault().code, 5);

    Controller crowded = runningController(3, programOf({step(1, 10, 1, {2}), step(2, 100000, 0)}));
    crowded.advance(300);  // starts at 0, 10, .. 300 fill tasks 1..31
    EXPECT_EQ(crowded.fault().code, 0);
    crowded.advance(310);  // the 32-task model has no task left for the next start
    EXPECT_EQ(crowded.fault().code, 6);

    Controller absent = runningController(5, programOf({step(1, 10, 0, {}, {{1009, 1}})}));
    EXPECT_EQ(absent.fault().code, 22);
    EXPECT_EQ(absent.fault().datum, 9);
}

}  // namespace
}  // namespace zel::sim
