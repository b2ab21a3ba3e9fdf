#include <QDateTime>
#include <QHash>
#include <csignal>
#include <ctime>

#include "zelctl/commands.h"
#include "zelctl/exit_status.h"
#include "zelctl/output.h"

namespace zel::ctl {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

// SIGINT and SIGTERM end the watch after the read in hand; they do not restart the wait, so
// the end comes at once.
void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void waitMs(int ms) {
    timespec wait{ms / 1000, (ms % 1000) * 1'000'000L};
    nanosleep(&wait, nullptr);
}

}  // namespace

int watchRegisters(Command& c) {
    const auto targets = c.names.selection(c.arguments.operands);
    if (!targets) {
        printError(c.names.error());
        return kBadUsage;
    }
    catchStopSignals();
    if (const int status = c.session.open(c.arguments)) return status;
    if (const int status = checkPresent(c.session, *targets)) return status;
    const QStringList headers = registerHeaders(c.names, *targets, {QStringLiteral("Time")});
    Output out(c.arguments.form, headers, numericColumns(headers), true);
    QHash<QString, int32_t> shown;
    while (!stopRequested) {
        for (const Target& target : *targets) {
            int32_t value = 0;
            if (readTarget(c.session, target, value) != 1) {
                // A read cut short by the stop signal is no failure.
                if (stopRequested) return kSuccess;
                return readFailed(c.session, target);
            }
            const QString name = targetName(target);
            const auto last = shown.constFind(name);
            if (last != shown.constEnd() && *last == value) continue;
            shown.insert(name, value);
            out.add(QStringList{QDateTime::currentDateTime().toString(Qt::ISODateWithMs)} +
                    registerRow(c.names, target, value));
        }
        if (!stopRequested) waitMs(c.arguments.intervalMs);
    }
    return kSuccess;
}

}  // namespace zel::ctl
