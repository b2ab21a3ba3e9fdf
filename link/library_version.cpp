#include "link/library_version.h"

#include <QFileInfo>

#include "common/number_text.h"

namespace zel {

// "libzelcom.so.A.B.C.D" with four decimal numbers; anything else has no version.
std::optional<ProductVersion> productVersionOf(const QString& libraryFile) {
    static constexpr QStringView kPrefix = u"libzelcom.so.";
    const QString name = QFileInfo(libraryFile).fileName();
    if (!name.startsWith(kPrefix)) return std::nullopt;
    const QList<QStringView> parts = QStringView(name).mid(kPrefix.size()).split(u'.');
    if (parts.size() != 4) return std::nullopt;
    ProductVersion version{};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        version[i] = parts[i].toInt(&ok);
        if (!isAsciiNumber(parts[i]) || !ok) return std::nullopt;
    }
    return version;
}

int SelectCommFunction(const QString& libraryFile) {
    constexpr ProductVersion kFirstSupported{3, 0, 3, 1};
    if (!QFileInfo::exists(libraryFile)) return 0;
    const std::optional<ProductVersion> version = productVersionOf(libraryFile);
    return version && *version >= kFirstSupported ? 1 : 0;
}

int SelectCommFunction(const ZelLibrary& library) {
    return library.isLoaded() ? SelectCommFunction(library.fileName()) : 0;
}

}  // namespace zel
