// The monitor's command line: files to open, another settings file, help, version.
#pragma once

#include <QString>
#include <QStringList>

namespace zel {

struct CommandLine {
    QStringList files;     // the positional arguments, as given
    QString settingsFile;  // --settings FILE; empty for the default per-user file
    QString logFile;       // --log FILE; empty for the default under the XDG state home
    bool exitNow = false;  // --help, --version or a bad argument: the text was printed
    int exitCode = 0;
    // --load-remembered-files: the start-up choice of remembered files is not asked; all load.
    bool loadRememberedFiles = false;
};

// Parses arguments (the first is the program). Help and version go to standard output, an
// error to standard error.
CommandLine parseCommandLine(const QStringList& arguments);

// The files named on the command line, sorted by extension in any case: a symbol file (.SYM) to
// import, a definition file (.CFG) for the first custom screen, a data table file (.tab).
struct CommandLineFiles {
    QString symbolFile;
    QString customScreenFile;
    QString tableFile;
    QStringList missing;  // the names of files of those kinds that do not exist
    QStringList refused;  // why each other name is not opened
};
CommandLineFiles sortCommandLineFiles(const QStringList& names);

// Whether the monitor has somewhere to show its windows: a display is named (DISPLAY,
// WAYLAND_DISPLAY) or a window platform is chosen (QT_QPA_PLATFORM, or -platform among the
// arguments). Without one, the windowing toolkit would abort the program.
bool displayAvailable(int argc, const char* const* argv);

// The one line standard error gets when there is no display.
inline constexpr char kNoDisplayText[] =
    "zelmon: no display to show the monitor on; start it in a graphical session (DISPLAY or "
    "WAYLAND_DISPLAY set) or with QT_QPA_PLATFORM=offscreen.\n";

}  // namespace zel
