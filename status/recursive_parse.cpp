#include "status/recursive_parse.h"

#include <algorithm>

namespace zel::status {
namespace {

class Parser {
public:
    Parser(const StatusRecord& record, int32_t taskCount, const StepNameLookup& names)
        : record_(record), bits_(std::clamp(taskCount, 0, 32)), names_(names) {}

    QVector<StepLine> run() {
        visit(0, -1);
        return lines_;
    }

private:
    bool full() const { return lines_.size() >= kMaxStepLines; }

    void visit(int32_t task, int parent) {
        const auto t = static_cast<size_t>(task);
        lines_.append({stepText(record_.TaskStep[t], names_), task, parent});
        const int line = static_cast<int>(lines_.size()) - 1;
        for (int w = 0; w < kKeyWords && !full(); ++w) {
            const uint32_t word = record_.TaskKeys[t][static_cast<size_t>(w)];
            for (int n = 0; n < bits_ && word != 0 && !full(); ++n) {
                const int32_t started = 32 * w + n + 1;
                if (((word >> n) & 1u) != 0 && started < kTaskSlots) visit(started, line);
            }
        }
    }

    const StatusRecord& record_;
    const int bits_;
    const StepNameLookup& names_;
    QVector<StepLine> lines_;
};

}  // namespace

QString stepText(int32_t step, const StepNameLookup& names) {
    if (step == kTaskNotExecuted) return QStringLiteral("Task Not Executed");
    QString text = QStringLiteral("Step #") + QString::number(step);
    if (names) text += QStringLiteral(" : ") + names(step);
    return text;
}

QVector<StepLine> RecursiveParse(const StatusRecord& record, int32_t taskCount,
                                 const StepNameLookup& names) {
    return Parser(record, taskCount, names).run();
}

}  // namespace zel::status
