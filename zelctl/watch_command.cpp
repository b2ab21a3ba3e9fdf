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
    const auto numbers = c.names.selection(c.arguments.operands);
    if (!numbers) {
        printError(c.names.error());
        return kBadUsage;
    }
    catchStopSignals();
    if (const int status = c.session.open(c.arguments)) return status;
    const QStringList headers = registerHeaders(c.names, {QStringLiteral("Time")});
    Output out(c.arguments.form, headers, numericColumns(headers), true);
    QHash<int32_t, int32_t> shown;
    while (!stopRequested) {
        for (const int32_t number : *numbers) {
            int32_t value = 0;
            if (c.session.library().ZlGetRegister(c.session.handle(), number, value) != 1) {
                // A read cut short by the stop signal is no failure.
                if (stopRequested) return kSuccess;
                return c.session.callFailed(QStringLiteral("Cannot read register ") +
                                            QString::number(number));
            }
            const auto last = shown.constFind(number);
            if (last != shown.constEnd() && *last == value) continue;
            shown.insert(number, value);
            out.add(QStringList{QDateTime::currentDateTime().toString(Qt::ISODateWithMs)} +
                    registerRow(c.names, number, value));
        }
        if (!stopRequested) waitMs(c.arguments.intervalMs);
    }
    return kSuccess;
}

}  // namespace zel::ctl
