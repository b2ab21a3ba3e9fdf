// The command line: where the controller is, the files that name things, the output form, and
// the command with its own arguments.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zel::ctl {

enum class OutputForm { Text, Json, Csv };

struct Arguments {
    QString connection;    // "tcp:HOST" and the like; empty to read the settings profile
    QString settingsFile;  // --settings FILE; empty for the default profile
    QString symbolFile;    // --symbols FILE
    OutputForm form = OutputForm::Text;
    int intervalMs = 200;  // --interval MS, how often watch reads
    int timeoutMs = 0;     // --timeout MS; 0 keeps the profile's or the library's default
    QString command;
    QStringList operands;
};

// What parsing ended with: arguments to run, or a text to print and the status to exit with
// (help and version on standard output with 0, an error on standard error with kBadUsage).
struct ParseResult {
    std::optional<Arguments> arguments;
    QString text;
    int exitStatus = 0;
};

// `arguments` without the program name.
ParseResult parseArguments(const QStringList& arguments);

QString helpText();

}  // namespace zel::ctl
