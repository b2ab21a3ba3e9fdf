// The monitor's command line: an optional symbol file, another settings file, help, version.
#pragma once

#include <QString>
#include <QStringList>

namespace zel {

struct CommandLine {
    QString symbolFile;    // the one positional argument, as given
    QString settingsFile;  // --settings FILE; empty for the default per-user file
    QString logFile;       // --log FILE; empty for the default under the XDG state home
    bool exitNow = false;  // --help, --version or a bad argument: the text was printed
    int exitCode = 0;
};

// Parses arguments (the first is the program). Help and version go to standard output, an
// error to standard error.
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace zel
