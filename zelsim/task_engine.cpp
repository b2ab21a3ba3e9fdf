#include "task_engine.h"

#include "register_map.h"

namespace zel::sim {
namespace {

// Bounds the work of one advance, so that a loop of steps without dwell cannot hang the loop.
constexpr int kMaxTransitionsPerAdvance = 100000;

void setKey(Task& t, int child, bool on) {
    const uint32_t bit = 1u << ((child - 1) % 32);
    uint32_t& word = t.keys[static_cast<size_t>((child - 1) / 32)];
    word = on ? (word | bit) : (word & ~bit);
}

// The software fault a step raises when one of its register writes is refused.
Fault writeFault(int reg, ErrorCode error, int step) {
    const RegRef ref = classifyRegister(reg);
    if (error == ZL_ERR_BAD_VALUE) return {27, step, reg};
    if (error != ZL_ERR_NOT_PRESENT) return {13, step, reg};
    switch (ref.kind) {
        case RegKind::Output:
            return {22, step, ref.index};
        case RegKind::AnalogOut:
            return {19, step, ref.index};
        case RegKind::FlagSet:
            return {37, step, ref.index};
        case RegKind::ServoPosition:
            return {10, step, ref.index - 1};
        default:
            return {13, step, reg};
    }
}

}  // namespace

TaskEngine::TaskEngine(int taskCount) : tasks_(static_cast<size_t>(taskCount)) {
    reset();
}

void TaskEngine::load(Program program) {
    program_ = std::move(program);
    reset();
}

void TaskEngine::reset() {
    for (Task& t : tasks_) t = Task{};
    tasks_[0].step = 1;
}

bool TaskEngine::begin(int64_t now, TaskHost& host) {
    if (!program_.find(1)) {
        host.raiseFault({kFaultNoStepOne, 0, 0});
        return false;
    }
    return enter(0, 1, 1, now, host);
}

void TaskEngine::advance(int64_t now, TaskHost& host) {
    for (int n = 0; n < kMaxTransitionsPerAdvance; ++n) {
        const int t = nextDue(now);
        if (t < 0) return;
        Task& task = tasks_[static_cast<size_t>(t)];
        const Step* step = program_.find(task.step);
        if (!step || step->next == 0) {
            finish(t);
            continue;
        }
        if (!enter(t, step->next, task.step, task.due, host)) return;
    }
}

int TaskEngine::nextDue(int64_t now) const {
    int best = -1;
    for (int t = 0; t < taskCount(); ++t) {
        const Task& task = tasks_[static_cast<size_t>(t)];
        if (task.state == 0 || task.due > now) continue;
        if (best < 0 || task.due < tasks_[static_cast<size_t>(best)].due) best = t;
    }
    return best;
}

bool TaskEngine::enter(int t, int stepNumber, int fromStep, int64_t at, TaskHost& host) {
    const Step* step = program_.find(stepNumber);
    if (!step) {
        host.raiseFault({kFaultMissingStep, fromStep - 1, stepNumber});
        return false;
    }
    Task& task = tasks_[static_cast<size_t>(t)];
    task.step = stepNumber;
    task.state = 1;
    task.due = at + step->dwellMs;
    for (const RegisterWrite& w : step->writes) {
        if (ErrorCode e = host.writeRegister(w.reg, w.value)) {
            host.raiseFault(writeFault(w.reg, e, stepNumber - 1));
            return false;
        }
    }
    for (int s : step->starts) {
        if (!startTask(t, s, stepNumber, at, host)) return false;
    }
    if (step->fault) {
        host.raiseFault({step->fault->code, stepNumber - 1, step->fault->datum});
        return false;
    }
    return true;
}

bool TaskEngine::startTask(int starter, int step, int fromStep, int64_t at, TaskHost& host) {
    for (int t = 1; t < taskCount(); ++t) {
        if (tasks_[static_cast<size_t>(t)].state != 0) continue;
        tasks_[static_cast<size_t>(t)].starter = starter;
        setKey(tasks_[static_cast<size_t>(starter)], t, true);
        return enter(t, step, fromStep, at, host);
    }
    host.raiseFault({kFaultTooManyTasks, fromStep - 1, 0});
    return false;
}

void TaskEngine::finish(int t) {
    Task& task = tasks_[static_cast<size_t>(t)];
    if (task.starter >= 0) setKey(tasks_[static_cast<size_t>(task.starter)], t, false);
    for (Task& other : tasks_)
        if (other.starter == t) other.starter = -1;
    task = Task{};
}

}  // namespace zel::sim
