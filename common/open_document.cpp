#include "common/open_document.h"

#include <QDesktopServices>
#include <QUrl>

namespace zel {

bool OpenDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace zel
