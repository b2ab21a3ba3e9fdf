#include "app/command_line.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

#include "app/product_info.h"

namespace zel {

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        kProductName + QStringLiteral(": monitor and maintain a programmable controller."));
    // Not addHelpOption(): its --help-all needs a parse that ends the process.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Keep the settings in FILE instead of the per-user settings file, for a "
                       "second profile."),
        QStringLiteral("FILE"));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Write the status log to FILE."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption loadRemembered(
        QStringLiteral("load-remembered-files"),
        QStringLiteral("Load every remembered file (custom screens, symbol file, data table) "
                       "without asking which, as when the start-up file choice is answered "
                       "Okay; for a monitor started without anyone at the screen."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(settings);
    parser.addOption(log);
    parser.addOption(loadRemembered);
    parser.addPositionalArgument(QStringLiteral("symbolfile"),
                                 QStringLiteral("Symbol file (*.SYM) to import at start-up."),
                                 QStringLiteral("[symbolfile]"));

    CommandLine result;
    if (!parser.parse(arguments) || parser.positionalArguments().size() > 1) {
        const QString error = parser.errorText().isEmpty()
                                  ? QStringLiteral("only one symbol file can be given")
                                  : parser.errorText();
        std::fprintf(stderr, "zelmon: %s\n%s", qPrintable(error), qPrintable(parser.helpText()));
        return {{}, {}, {}, true, 2};
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return {{}, {}, {}, true, 0};
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(kProductName), qPrintable(kVersionText));
        return {{}, {}, {}, true, 0};
    }
    result.settingsFile = parser.value(settings);
    result.logFile = parser.value(log);
    result.loadRememberedFiles = parser.isSet(loadRemembered);
    if (!parser.positionalArguments().isEmpty()) result.symbolFile = parser.positionalArguments()[0];
    return result;
}

bool displayAvailable(int argc, const char* const* argv) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(name)) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0) return true;
    return false;
}

}  // namespace zel
