#include <QApplication>

#include "app/application.h"
#include "app/command_line.h"
#include "app/monitor_style.h"
#include "app/product_info.h"
#include "app/termination_signals.h"

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
