#include "symbols/database_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "common/file_listing.h"
#include "common/number_text.h"

namespace zel::symbols {
namespace {

QString defaultBase() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/zelmon");
}

bool processAlive(qint64 pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

DatabaseFolder::DatabaseFolder(QString base) : base_(base.isEmpty() ? defaultBase() : base) {}

bool DatabaseFolder::create(QString& error) {
    if (exists()) return true;
    if (!QDir().mkpath(base_)) {
        error = QStringLiteral("Cannot create the folder %1.").arg(base_);
        return false;
    }
    removeAbandoned();
    QTemporaryDir dir(base_ + QStringLiteral("/zelmon-%1-XXXXXX").arg(::getpid()));
    if (!dir.isValid()) {
        error = QStringLiteral("Cannot create a folder in %1: %2").arg(base_, dir.errorString());
        return false;
    }
    dir.setAutoRemove(false);
    path_ = dir.path();
    return true;
}

bool DatabaseFolder::remove() {
    if (!exists()) return true;
    if (!QDir(path_).removeRecursively()) return false;
    path_.clear();
    return true;
}

// A monitor that was killed leaves its folder behind; the process id in the name tells
// whether its owner still runs.
void DatabaseFolder::removeAbandoned() const {
    static constexpr QStringView kPrefix = u"zelmon-";
    for (const QString& entry : entriesStartingWith(QDir(base_), kPrefix, QDir::Dirs)) {
        const QStringView rest = QStringView(entry).mid(kPrefix.size());
        const qsizetype dash = rest.indexOf(u'-');
        const QStringView digits = rest.left(dash);
        if (dash < 0 || dash > 9 || !isAsciiNumber(digits)) continue;
        const qint64 pid = digits.toLongLong();
        if (pid != ::getpid() && !processAlive(pid)) QDir(base_ + u'/' + entry).removeRecursively();
    }
}

}  // namespace zel::symbols
