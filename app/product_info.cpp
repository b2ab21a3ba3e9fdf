#include "app/product_info.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

namespace zel {

QString manualPath(const QString& applicationFolder) {
    const QDir folder(applicationFolder);
    const QString beside = folder.filePath(kManualFile);
    const QString installed =
        QDir::cleanPath(folder.filePath(QStringLiteral(ZEL_DATADIR_FROM_BINDIR "/") + kManualFile));
    return !QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside;
}

QString platformText() {
    return QStringLiteral("for Linux on %1").arg(QSysInfo::buildCpuArchitecture());
}

}  // namespace zel
