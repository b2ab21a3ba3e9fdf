// Opening a file with the desktop's default application. Needs a running QGuiApplication,
// hence its own library apart from the QtCore-only helpers.
#pragma once

#include <QString>

namespace zel {

// True when the desktop accepted the request.
bool OpenDocument(const QString& path);

}  // namespace zel
