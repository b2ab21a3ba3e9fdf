#include "settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "common/file_listing.h"

namespace zel::settings {
namespace {

QString systemError(const char* step) {
    return QStringLiteral("%1: %2").arg(QLatin1String(step),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

// Makes a completed rename survive a power loss; the file's own data is already on disk.
void syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A settings file that is a link to a file elsewhere stays a link: the file it points to is
// replaced.
QString followLink(const QString& path) {
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : QString();
    return target.isEmpty() ? path : target;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        next += written;
        left -= written;
    }
    return true;
}

bool writeAndSync(const QByteArray& file, const QByteArray& bytes, QString& error) {
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = systemError("cannot create temporary file");
        return false;
    }
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (!ok) error = systemError("cannot write temporary file");
    return ok;
}

}  // namespace

QString defaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Orvane/ZEL Monitor/settings.ini");
}

bool writeFileAtomically(const QString& linkOrFile, const QByteArray& bytes, QString& error) {
    const QString path = followLink(linkOrFile);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot create folder %1").arg(folder);
        return false;
    }
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = target + ".tmp-" + QByteArray::number(::getpid());
    if (!writeAndSync(temporary, bytes, error)) {
        ::unlink(temporary.constData());
        return false;
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        error = systemError("cannot rename the temporary file over it");
        ::unlink(temporary.constData());
        return false;
    }
    syncFolder(folder);
    return true;
}

void removeStaleTemporaries(const QString& linkOrFile) {
    const QString path = followLink(linkOrFile);
    const QDir folder = QFileInfo(path).absoluteDir();
    const QString prefix = QFileInfo(path).fileName() + QStringLiteral(".tmp-");
    for (const QString& name : entriesStartingWith(folder, prefix, QDir::Files | QDir::Hidden)) {
        bool isNumber = false;
        const auto pid = static_cast<pid_t>(name.mid(prefix.size()).toInt(&isNumber));
        if (isNumber && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QFile::remove(folder.filePath(name));
    }
}

QString setAside(const QString& path, const QDateTime& now, QString& error) {
    const QString base =
        path + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    QFile file(path);
    if (!file.rename(target)) {
        error = file.errorString();
        return {};
    }
    syncFolder(QFileInfo(path).absolutePath());
    return target;
}

}  // namespace zel::settings
