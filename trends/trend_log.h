// Logging a named set of values to a CSV file that survives a crash or a kill: every line goes
// out whole in one write() on an unbuffered descriptor, and the data is synced to the disk at
// least once a second while lines come. A write that fails part-way is cut back off, so the
// file never ends in a broken line. The file rotates by size; logging again into an existing
// file appends after a comment line.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zel {

class TrendLog {
public:
    using MessageSink = std::function<void(const QString&)>;

    struct Limits {
        qint64 maxBytes = 10 * 1024 * 1024;  // a file past this rotates before the next line
        int keep = 3;                         // rotated files kept: name.1 (newest) .. name.3
    };

    explicit TrendLog(MessageSink setMessage) : TrendLog(std::move(setMessage), Limits{}) {}
    TrendLog(MessageSink setMessage, Limits limits);
    ~TrendLog();
    TrendLog(const TrendLog&) = delete;
    TrendLog& operator=(const TrendLog&) = delete;

    // Starts logging the columns `names` into `path`; a failure is reported and returns false.
    bool start(const QString& path, const QStringList& names);
    // Syncs and closes the file.
    void stop();
    bool active() const { return fd_ >= 0; }
    const QString& path() const { return path_; }
    qsizetype columns() const { return names_.size(); }

    // One line at `msecs` (UTC since the epoch); a missing value leaves its field empty. A
    // failed write stops logging and says why in the status line.
    void append(qint64 msecs, const std::vector<std::optional<int32_t>>& values);

private:
    bool open();
    bool rotate();
    bool writeWhole(const QByteArray& line);
    void fail(int error);
    QByteArray header() const;

    MessageSink setMessage_;
    Limits limits_;
    QString path_;
    QStringList names_;
    int fd_ = -1;
    qint64 size_ = 0;
    bool unsynced_ = false;
    std::chrono::steady_clock::time_point lastSync_;
};

}  // namespace zel
