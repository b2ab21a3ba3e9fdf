#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "link/poll_block.h"
#include "status/recursive_parse.h"
#include "status/run_state_text.h"
#include "status/status_exchange.h"
#include "status/task_banks.h"
#include "zelctl/commands.h"
#include "zelctl/exit_status.h"
#include "zelctl/output.h"

namespace zel::ctl {
namespace {

void print(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

int depthOf(const QVector<status::StepLine>& lines, qsizetype i) {
    int depth = 0;
    for (int p = lines[i].parent; p >= 0; p = lines[p].parent) ++depth;
    return depth;
}

}  // namespace

// The status packets first, the task banks when the controller does not answer those, as the
// step status window fetches it.
int showStatus(Command& c) {
    if (const int status = c.session.open(c.arguments)) return status;
    AppState& state = c.session.state();
    status::StatusRecord record;
    const status::PumpCheck goOn = [] { return true; };
    if (!status::NewStatusPacket(c.session.library(), state, record, goOn)) {
        PollContext context(state, c.session.library(), {});
        try {
            status::readTaskBanks(context, record, goOn);
        } catch (const PollingError&) {
            return c.session.reportError(QStringLiteral("Cannot read the controller's status"));
        }
    }
    const QString runState = status::runStateText(record);
    // A corrupt program has no step tree worth showing.
    const QVector<status::StepLine> lines =
        record.FaultCode == status::kCorruptProgramFault
            ? QVector<status::StepLine>{}
            : status::RecursiveParse(record, state.connection.TaskCount);

    if (c.arguments.form == OutputForm::Json) {
        QJsonArray steps;
        for (const status::StepLine& line : lines)
            steps.append(QJsonObject{
                {"task", line.task},
                {"started_by", line.parent < 0 ? QJsonValue() : QJsonValue(lines[line.parent].task)},
                {"step", line.text}});
        const QJsonObject object{{"run_state", runState},
                                 {"fault_code", record.FaultCode},
                                 {"steps", steps}};
        print(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
        return kSuccess;
    }
    if (c.arguments.form == OutputForm::Csv) {
        // The first row, with no task, is the run state.
        Output out(OutputForm::Csv, {"Task", "Started by", "Step"}, {true, true, false});
        out.add({QString(), QString(), runState});
        for (const status::StepLine& line : lines)
            out.add({QString::number(line.task),
                     line.parent < 0 ? QString() : QString::number(lines[line.parent].task),
                     line.text});
        out.finish();
        return kSuccess;
    }
    QByteArray text = runState.toUtf8() + '\n';
    for (qsizetype i = 0; i < lines.size(); ++i)
        text += QString(depthOf(lines, i) * 2, u' ').toUtf8() + lines[i].text.toUtf8() +
                QStringLiteral("  (task %1)").arg(lines[i].task).toUtf8() + '\n';
    print(text);
    return kSuccess;
}

}  // namespace zel::ctl
