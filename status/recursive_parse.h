// The lines of the step status tree: the root task's step, then, depth first, the step of every
// task it started and of the tasks those started.
#pragma once

#include <QString>
#include <QVector>
#include <functional>

#include "status/status_record.h"

namespace zel::status {

inline constexpr int kMaxStepLines = 128;

struct StepLine {
    QString text;
    int32_t task = 0;
    int parent = -1;  // index of the starter's line; -1 for the root task's line
};

// A step's symbol name, or empty. Left empty while no symbol file is in use.
using StepNameLookup = std::function<QString(int32_t step)>;

// At most kMaxStepLines lines, the root task 0 first. Only bits 0 .. n - 1 of each key word
// are followed, n being `taskCount` capped at 32.
QVector<StepLine> RecursiveParse(const StatusRecord& record, int32_t taskCount,
                                 const StepNameLookup& names = {});

// "Step #" and the step, with " : " and its name when `names` is set; "Task Not Executed" for
// a task that does not run.
QString stepText(int32_t step, const StepNameLookup& names);

}  // namespace zel::status
