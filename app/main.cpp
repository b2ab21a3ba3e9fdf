#include <QApplication>

#include "application.h"
#include "command_line.h"
#include "monitor_style.h"
#include "product_info.h"
#include "termination_signals.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
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
