#include "trends/trend_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "trends/csv_text.h"

namespace zel {
namespace {

constexpr auto kSyncInterval = std::chrono::seconds(1);

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

}  // namespace

TrendLog::TrendLog(MessageSink setMessage, Limits limits)
    : setMessage_(std::move(setMessage)), limits_(limits) {}

TrendLog::~TrendLog() { stop(); }

bool TrendLog::start(const QString& path, const QStringList& names) {
    stop();
    path_ = path;
    names_ = names;
    if (!open()) {
        setMessage_(QStringLiteral("Could not start logging to %1: %2.").arg(path_, reason(errno)));
        return false;
    }
    QByteArray opening = header();
    if (size_ > 0) {
        // A file cut short by a power loss may end inside a line: the comment starts afresh.
        char last = '\n';
        if (::pread(fd_, &last, 1, size_ - 1) != 1) last = '\n';
        opening = QByteArray(last == '\n' ? "" : "\n") + "# logging restarted " +
                  csvTime(QDateTime::currentMSecsSinceEpoch()) + '\n' + opening;
    }
    if (!writeWhole(opening)) return false;
    setMessage_(QStringLiteral("Logging to %1.").arg(path_));
    return true;
}

void TrendLog::stop() {
    if (fd_ < 0) return;
    if (unsynced_) ::fdatasync(fd_);
    ::close(fd_);
    fd_ = -1;
    unsynced_ = false;
}

void TrendLog::append(qint64 msecs, const std::vector<std::optional<int32_t>>& values) {
    if (fd_ < 0) return;
    QByteArray line = csvTime(msecs);
    for (qsizetype i = 0; i < names_.size(); ++i) {
        line += ',';
        const size_t at = static_cast<size_t>(i);
        if (at < values.size() && values[at]) line += QByteArray::number(*values[at]);
    }
    line += '\n';
    if (size_ > 0 && size_ + line.size() > limits_.maxBytes && !rotate()) return;
    if (!writeWhole(line)) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastSync_ < kSyncInterval) return;
    if (::fdatasync(fd_) != 0) return fail(errno);
    lastSync_ = now;
    unsynced_ = false;
}

bool TrendLog::open() {
    const QByteArray file = QFile::encodeName(path_);
    fd_ = ::open(file.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd_ < 0) return false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        errno = error;
        return false;
    }
    size_ = st.st_size;
    lastSync_ = std::chrono::steady_clock::now();
    return true;
}

// name.2 becomes name.3 and so on, the full file name.1, and a new file starts with the header.
bool TrendLog::rotate() {
    stop();
    for (int n = limits_.keep; n >= 1; --n) {
        const QString from = n == 1 ? path_ : path_ + u'.' + QString::number(n - 1);
        const QByteArray to = QFile::encodeName(path_ + u'.' + QString::number(n));
        if (::rename(QFile::encodeName(from).constData(), to.constData()) != 0 && errno != ENOENT) {
            fail(errno);
            return false;
        }
    }
    if (!open()) {
        fail(errno);
        return false;
    }
    return writeWhole(header());
}

// A partial write is followed by one for the rest, which either completes the line or says
// why the disk took no more; in that case the part already written is cut off again.
bool TrendLog::writeWhole(const QByteArray& line) {
    qsizetype done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd_, line.constData() + done, static_cast<size_t>(line.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            if (done > 0 && ::ftruncate(fd_, size_) != 0) {
                // The cut failed too; the reason the write failed is still the one to report.
            }
            fail(error);
            return false;
        }
        done += n;
    }
    size_ += line.size();
    unsynced_ = true;
    return true;
}

void TrendLog::fail(int error) {
    ::close(fd_);
    fd_ = -1;
    unsynced_ = false;
    setMessage_(QStringLiteral("Logging to %1 stopped: %2.").arg(path_, reason(error)));
}

QByteArray TrendLog::header() const {
    QByteArray line = "time";
    for (const QString& name : names_) line += ',' + csvQuoted(name);
    return line + '\n';
}

}  // namespace zel
