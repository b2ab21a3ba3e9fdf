// zelctl: the controller from the command line, through the same library and rules as the
// monitor.
#include <QCoreApplication>
#include <cstdio>
#include <map>

#include "zelctl/arguments.h"
#include "zelctl/commands.h"
#include "zelctl/exit_status.h"
#include "zelctl/session.h"

using namespace zel::ctl;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const ParseResult parsed = parseArguments(app.arguments().mid(1));
    if (!parsed.arguments) {
        std::fputs(qPrintable(parsed.text), parsed.exitStatus == kSuccess ? stdout : stderr);
        if (parsed.exitStatus != kSuccess) std::fputc('\n', stderr);
        return parsed.exitStatus;
    }
    const Arguments& arguments = *parsed.arguments;
    RegisterNames names;
    if (!arguments.symbolFile.isEmpty() && !names.load(arguments.symbolFile)) {
        printError(names.error());
        return kBadUsage;
    }
    if (!names.notice().isEmpty()) printError(names.notice());
    static const std::map<QString, int (*)(Command&)> run = {
        {"read", readRegisters},     {"write", writeRegister},       {"watch", watchRegisters},
        {"status", showStatus},      {"backup", backupRegisters},    {"restore", restoreRegisters},
        {"diff", diffRegisters},
    };
    Session session(QCoreApplication::applicationDirPath());
    Command command{session, arguments, names};
    return run.at(arguments.command)(command);
}
