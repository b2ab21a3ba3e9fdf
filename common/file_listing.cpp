#include "common/file_listing.h"

namespace zel {

QStringList entriesStartingWith(const QDir& folder, QStringView prefix, QDir::Filters filters) {
    QStringList names = folder.entryList(filters | QDir::NoDotAndDotDot);
    names.removeIf([prefix](const QString& name) { return !name.startsWith(prefix); });
    return names;
}

}  // namespace zel
