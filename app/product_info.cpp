#include "app/product_info.h"

#include <QSysInfo>

namespace zel {

QString platformText() {
    return QStringLiteral("for Linux on %1").arg(QSysInfo::buildCpuArchitecture());
}

}  // namespace zel
