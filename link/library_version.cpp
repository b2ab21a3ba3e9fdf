#include "library_version.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace zel {

std::optional<ProductVersion> productVersionOf(const QString& libraryFile) {
    static const QRegularExpression pattern(
        QStringLiteral("^libzelcom\\.so\\.(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(QFileInfo(libraryFile).fileName());
    if (!match.hasMatch()) return std::nullopt;
    ProductVersion version{};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        version[i] = match.captured(i + 1).toInt(&ok);
        if (!ok) return std::nullopt;
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
