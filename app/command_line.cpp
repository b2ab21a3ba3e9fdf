#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
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
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("Files to open, by their extension in any case: a symbol file (*.SYM) is "
                       "imported, a custom screen file (*.CFG) opens in Custom Screen 1, a data "
                       "table file (*.tab) loads into the Data Table window. One of each kind."),
        QStringLiteral("[file...]"));

    CommandLine result;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "zelmon: %s\n%s", qPrintable(parser.errorText()),
                     qPrintable(parser.helpText()));
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
    result.files = parser.positionalArguments();
    return result;
}

namespace {

struct FileKind {
    const char* extension;  // lower case
    QString CommandLineFiles::*slot;
    const char* name;
};

constexpr FileKind kFileKinds[] = {
    {"sym", &CommandLineFiles::symbolFile, "symbol file"},
    {"cfg", &CommandLineFiles::customScreenFile, "custom screen file"},
    {"tab", &CommandLineFiles::tableFile, "data table file"},
};

}  // namespace

// A folder is no file either; of two files of one kind the first is opened.
CommandLineFiles sortCommandLineFiles(const QStringList& names) {
    CommandLineFiles files;
    for (const QString& name : names) {
        const QFileInfo info(name);
        const QString extension = info.suffix().toLower();
        const FileKind* kind = nullptr;
        for (const FileKind& k : kFileKinds)
            if (extension == QLatin1String(k.extension)) kind = &k;
        if (!kind) {
            files.refused << QStringLiteral("Cannot open ") + name +
                                 QStringLiteral(": ZEL Monitor opens symbol files (.SYM), custom "
                                                "screen files (.CFG) and data table files (.tab).");
        } else if (!info.isFile()) {
            files.missing << name;
        } else if (QString& slot = files.*kind->slot; slot.isEmpty()) {
            slot = name;
        } else {
            files.refused << QStringLiteral("Cannot open %1: the %2 %3 was named first.")
                                 .arg(name, QLatin1String(kind->name), slot);
        }
    }
    return files;
}

bool displayAvailable(int argc, const char* const* argv) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(name)) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0) return true;
    return false;
}

}  // namespace zel
