// Runs a step program: task 0 begins at step 1, steps start further tasks, tasks end.
// Time is the controller's run time in milliseconds, which only moves while it runs.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "program.h"
#include "result.h"

namespace zel::sim {

struct Fault {
    int code = 0;
    int step = 0;  // zero-based step at which the fault was raised
    int32_t datum = 0;
};

// Fault codes the engine itself raises.
inline constexpr int kFaultMissingStep = 3;
inline constexpr int kFaultNoStepOne = 5;
inline constexpr int kFaultTooManyTasks = 6;

inline constexpr int kKeyWords = 4;  // enough for 128 tasks

struct Task {
    int step = 0;       // 1-based; 0 = not executed
    uint8_t state = 0;  // 0 = not executed, 1 = running its step
    int starter = -1;   // task that started this one, -1 for none
    int64_t due = 0;    // run time at which the current step's dwell ends
    // Bit (u-1)%32 of word (u-1)/32 is set while task u, started by this task, is running.
    std::array<uint32_t, kKeyWords> keys{};
};

// What the engine needs from the controller around it.
class TaskHost {
public:
    virtual ErrorCode writeRegister(int number, int32_t value) = 0;
    virtual void raiseFault(const Fault& fault) = 0;

protected:
    ~TaskHost() = default;
};

class TaskEngine {
public:
    explicit TaskEngine(int taskCount);

    void load(Program program);
    const Program& program() const { return program_; }
    // Every task back to the start: task 0 waits at step 1, all others are not executed.
    void reset();
    // Enters task 0's first step. False when a fault was raised.
    bool begin(int64_t now, TaskHost& host);
    // Moves every task whose dwell has ended, in order of time, until nothing more is due.
    void advance(int64_t now, TaskHost& host);

    int taskCount() const { return static_cast<int>(tasks_.size()); }
    const Task& task(int t) const { return tasks_[static_cast<size_t>(t)]; }

private:
    int nextDue(int64_t now) const;
    bool enter(int t, int step, int fromStep, int64_t at, TaskHost& host);
    bool startTask(int starter, int step, int fromStep, int64_t at, TaskHost& host);
    void finish(int t);

    Program program_;
    std::vector<Task> tasks_;
};

}  // namespace zel::sim
