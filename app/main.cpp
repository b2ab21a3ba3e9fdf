#include <QApplication>
#include <cstdio>

#include "app/application.h"
#include "app/command_line.h"
#include "app/monitor_style.h"
#include "app/product_info.h"
#include "app/termination_signals.h"

namespace {

// Without a display only what needs none is done: help, version and argument errors.
int runWithoutDisplay(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const zel::CommandLine commandLine = zel::parseCommandLine(QCoreApplication::arguments());
    if (commandLine.exitNow) return commandLine.exitCode;
    std::fputs(zel::kNoDisplayText, stderr);
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!zel::displayAvailable(argc, argv)) return runWithoutDisplay(argc, argv);
    QApplication app(argc, argv);
    zel::watchTerminationSignals();
    QApplication::setApplicationName(zel::kProductName);
    QApplication::setOrganizationName(zel::kCompanyName);
    zel::useMonitorStyle();
    const zel::CommandLine commandLine = zel::parseCommandLine(QApplication::arguments());
    if (commandLine.exitNow) return commandLine.exitCode;

    zel::Application monitor(commandLine);
    monitor.start();
    zel::closeOnTerminationSignals(monitor.mainWindow());
    return QApplication::exec();
}
