#include "symbols/database_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/file_listing.h"

namespace zel::symbols {
namespace {

QString defaultBase() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/zelmon");
}

constexpr QStringView kPrefix = u"zelmon-";
// Made hidden, under a name no clean-up looks at, and given its final name only once its lock
// is held: a folder never shows unlocked while its owner still sets it up.
constexpr QStringView kNewPrefix = u".zelmon-new-";
constexpr char kLockFile[] = "/owner.lock";

// The lock file of a folder, opened and locked; -1 when it is missing or another process holds
// it.
int lockFolder(const QString& folder, int flags) {
    const int fd = ::open(QFile::encodeName(folder + QLatin1String(kLockFile)).constData(),
                          flags | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    ::close(fd);
    return -1;
}

}  // namespace

DatabaseFolder::DatabaseFolder(QString base) : base_(base.isEmpty() ? defaultBase() : base) {}

DatabaseFolder::~DatabaseFolder() {
    unlock();
}

bool DatabaseFolder::create(QString& error) {
    if (exists()) return true;
    if (!QDir().mkpath(base_)) {
        error = QStringLiteral("Cannot create the folder %1.").arg(base_);
        return false;
    }
    removeAbandoned();
    QTemporaryDir dir(base_ + u'/' + kNewPrefix.toString() + QStringLiteral("XXXXXX"));
    if (!dir.isValid()) {
        error = QStringLiteral("Cannot create a folder in %1: %2").arg(base_, dir.errorString());
        return false;
    }
    const int lock = lockFolder(dir.path(), O_CREAT | O_EXCL);
    const QString path = QStringLiteral("%1/%2%3-%4")
                             .arg(base_, kPrefix.toString(), QString::number(::getpid()),
                                  QFileInfo(dir.path()).fileName().mid(kNewPrefix.size()));
    if (lock < 0 || ::rename(QFile::encodeName(dir.path()).constData(),
                             QFile::encodeName(path).constData()) != 0) {
        error = QStringLiteral("Cannot set up the folder %1: %2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        if (lock >= 0) ::close(lock);
        return false;
    }
    dir.setAutoRemove(false);
    lock_ = lock;
    path_ = path;
    return true;
}

bool DatabaseFolder::remove() {
    if (!exists()) return true;
    if (!QDir(path_).removeRecursively()) return false;
    path_.clear();
    unlock();
    return true;
}

void DatabaseFolder::unlock() {
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
}

// A monitor that was killed leaves its folder behind with nobody holding its lock. A folder
// without a lock file is not taken for abandoned: it is not a monitor's.
void DatabaseFolder::removeAbandoned() const {
    for (const QString& entry : entriesStartingWith(QDir(base_), kPrefix, QDir::Dirs)) {
        const QString folder = base_ + u'/' + entry;
        const int lock = lockFolder(folder, 0);
        if (lock < 0) continue;
        QDir(folder).removeRecursively();
        ::close(lock);
    }
}

}  // namespace zel::symbols
