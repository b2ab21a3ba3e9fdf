#include "database_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <unistd.h>
#include <cerrno>
#include <csignal>

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
    static const QRegularExpression name(QStringLiteral("^zelmon-(\\d{1,9})-"));
    const QStringList entries = QDir(base_).entryList({QStringLiteral("zelmon-*")}, QDir::Dirs);
    for (const QString& entry : entries) {
        const QRegularExpressionMatch match = name.match(entry);
        if (!match.hasMatch()) continue;
        const qint64 pid = match.captured(1).toLongLong();
        if (pid != ::getpid() && !processAlive(pid)) QDir(base_ + u'/' + entry).removeRecursively();
    }
}

}  // namespace zel::symbols
