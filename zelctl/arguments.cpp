#include "zelctl/arguments.h"

#include <map>

#include "zelctl/exit_status.h"

namespace zel::ctl {
namespace {

struct CommandShape {
    int minOperands;
    int maxOperands;  // -1 for any number
    const char* usage;
};

const std::map<QString, CommandShape>& commands() {
    static const std::map<QString, CommandShape> table = {
        {"read", {1, -1, "read REG[..REG]..."}},
        {"write", {2, 2, "write REG VALUE"}},
        {"watch", {1, -1, "watch REG[..REG]..."}},
        {"status", {0, 0, "status"}},
        {"backup", {1, 1, "backup FILE"}},
        {"restore", {1, 1, "restore FILE"}},
        {"diff", {1, 1, "diff FILE"}},
    };
    return table;
}

bool isConnectionArgument(const QString& text) {
    for (const char* kind : {"tcp:", "udp:", "serial:", "zelnet:"})
        if (text.startsWith(QLatin1String(kind))) return true;
    return false;
}

ParseResult usageError(const QString& why) {
    return {std::nullopt, QStringLiteral("zelctl: ") + why + QStringLiteral("\nTry 'zelctl --help'."),
            kBadUsage};
}

std::optional<int> positiveNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value <= 0) return std::nullopt;
    return value;
}

}  // namespace

QString helpText() {
    return QStringLiteral(
        "Usage: zelctl [CONNECTION] [options] COMMAND [ARGUMENTS]\n"
        "Reads and writes a controller's registers, shows its status and moves register value\n"
        "files, without the monitor's window.\n"
        "\n"
        "CONNECTION (without it, the monitor's settings profile says where the controller is):\n"
        "  tcp:HOST             TCP/IP to HOST (name or address)\n"
        "  udp:HOST             UDP to HOST\n"
        "  serial:N[@BAUD]      serial port N (device $ZELCOM_COMMN), 9600 baud unless given\n"
        "  zelnet:OWN:NODE      ZelNET from node OWN to controller node NODE\n"
        "\n"
        "Commands:\n"
        "  read REG[..REG]...   print register values\n"
        "  write REG VALUE      write a 32-bit value into a register\n"
        "  watch REG[..REG]...  print values as they change, time-stamped, until interrupted\n"
        "  status               print the run state, the fault and the step tree\n"
        "  backup FILE          save the controller's registers as a register value file\n"
        "  restore FILE         write a register value file into the controller\n"
        "  diff FILE            list the registers whose values differ from FILE\n"
        "REG is a register number (1..40000) or a resource by its window's number, KIND:N or\n"
        "KIND:N..M with KIND one of\n"
        "  flag (0/1), input, output (0/1), analog-in, analog-out (-20000..20000),\n"
        "  servo (position), servo-error; input, analog-in and servo-error are read only.\n"
        "With --symbols, REG may also be the symbol name of a register or of any resource.\n"
        "\n"
        "Options:\n"
        "  --settings FILE      read the connection from this settings profile\n"
        "  --symbols FILE       name registers and resources by the symbols of this file\n"
        "  --json, --csv        print JSON or comma-separated values instead of aligned text\n"
        "  --interval MS        how often watch reads (default 200)\n"
        "  --timeout MS         how long to wait for each reply\n"
        "  --help, --version\n"
        "\n"
        "Exit status: 0 success, 2 bad usage (an argument, name, value or file was refused and\n"
        "nothing was written), 3 link failure, 4 the controller refused a request.\n");
}

ParseResult parseArguments(const QStringList& arguments) {
    Arguments a;
    QStringList positional;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return arguments[++i];
        };
        if (arg == "--help" || arg == "-h") return {std::nullopt, helpText(), kSuccess};
        if (arg == "--version")
            return {std::nullopt, QStringLiteral("zelctl " ZELCTL_VERSION "\n"), kSuccess};
        if (arg == "--json") {
            a.form = OutputForm::Json;
        } else if (arg == "--csv") {
            a.form = OutputForm::Csv;
        } else if (arg == "--settings" || arg == "--symbols") {
            const std::optional<QString> file = value();
            if (!file) return usageError(arg + QStringLiteral(" needs a file name."));
            (arg == "--settings" ? a.settingsFile : a.symbolFile) = *file;
        } else if (arg == "--interval" || arg == "--timeout") {
            const std::optional<QString> text = value();
            const std::optional<int> ms = text ? positiveNumber(*text) : std::nullopt;
            if (!ms) return usageError(arg + QStringLiteral(" needs a number of milliseconds."));
            (arg == "--interval" ? a.intervalMs : a.timeoutMs) = *ms;
        } else if (arg.startsWith(u'-') && arg.size() > 1 && !arg[1].isDigit()) {
            return usageError(QStringLiteral("unknown option ") + arg);
        } else {
            positional << arg;
        }
    }
    if (!positional.isEmpty() && isConnectionArgument(positional.first()))
        a.connection = positional.takeFirst();
    if (!a.connection.isEmpty() && !a.settingsFile.isEmpty())
        return usageError(QStringLiteral("give a connection or --settings, not both."));
    if (positional.isEmpty()) return usageError(QStringLiteral("no command given."));
    a.command = positional.takeFirst();
    const auto shape = commands().find(a.command);
    if (shape == commands().end()) return usageError(QStringLiteral("unknown command ") + a.command);
    const int count = static_cast<int>(positional.size());
    const CommandShape& s = shape->second;
    if (count < s.minOperands || (s.maxOperands >= 0 && count > s.maxOperands))
        return usageError(QStringLiteral("usage: zelctl ") + QLatin1String(s.usage));
    a.operands = positional;
    return {a, {}, kSuccess};
}

}  // namespace zel::ctl
