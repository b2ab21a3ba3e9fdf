// The application's log: every status line text, with its time, to standard error and to a
// log file under the XDG state home, so a user can see afterwards what happened to the link.
#pragma once

#include <QFile>
#include <QString>

namespace zel {

class StatusLog {
public:
    // Logs to the given file; an empty path means the default under the XDG state home.
    explicit StatusLog(const QString& filePath = {});

    void write(const QString& text);
    QString filePath() const { return file_.fileName(); }
    // Why the log file could not be opened; empty when it is open. Standard error still works.
    QString openError() const { return openError_; }

    static QString defaultPath();

private:
    void writeLine(const QString& line);

    QFile file_;
    QString openError_;
    // A text repeated with only its numbers changed (a failure counted every tick) is written
    // once a minute, with the count of lines left out, so a day without a controller does not
    // fill the disk.
    QString lastShape_;
    qint64 lastWrittenMs_ = 0;
    int repeats_ = 0;
};

}  // namespace zel
