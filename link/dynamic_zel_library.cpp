#include "link/dynamic_zel_library.h"

#include "link/zel_symbols.h"

#include <dlfcn.h>
#include <link.h>

#include <QDir>
#include <QFileInfo>

namespace zel {
namespace {

// The file the loader actually mapped, with every symbolic link resolved, so the product
// version in its name can be read.
QString mappedFile(void* handle, const QString& requested) {
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_name == nullptr)
        return requested;
    const QString canonical = QFileInfo(QFile::decodeName(map->l_name)).canonicalFilePath();
    return canonical.isEmpty() ? requested : canonical;
}

}  // namespace

QStringList DynamicZelLibrary::candidateFiles(const QString& applicationFolder) {
    const QString chosen = qEnvironmentVariable(kLibraryOverrideVariable);
    if (!chosen.isEmpty()) return {chosen};
    QStringList files;
    if (!applicationFolder.isEmpty()) {
        const QDir folder(applicationFolder);
        files << folder.filePath(QLatin1String(kLibrarySoname));
        // Installed under a prefix, the library sits in the prefix's library folder.
        files << QDir::cleanPath(folder.filePath(QStringLiteral(ZEL_LIBDIR_FROM_BINDIR "/") +
                                                 QLatin1String(kLibrarySoname)));
    }
    files << QLatin1String(kLibrarySoname);
    return files;
}

DynamicZelLibrary::DynamicZelLibrary(const QStringList& candidates)
    : symbols_(std::make_unique<ZelSymbols>()) {
    QStringList errors;
    for (const QString& file : candidates) {
        QString error;
        if (tryLoad(file, error)) return;
        errors << error;
    }
    fileName_ = candidates.isEmpty() ? QLatin1String(kLibrarySoname) : candidates.first();
    loadError_ = errors.isEmpty() ? QStringLiteral("%1: no file to load").arg(fileName_)
                                  : errors.join(QLatin1String("; "));
}

DynamicZelLibrary::~DynamicZelLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

bool DynamicZelLibrary::tryLoad(const QString& file, QString& error) {
    void* handle = dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const QString message = QString::fromLocal8Bit(dlerror());
        error = message.startsWith(file) ? message : file + QLatin1String(": ") + message;
        return false;
    }
    const QString missing = resolveSymbols(handle, *symbols_);
    if (!missing.isEmpty()) {
        dlclose(handle);
        *symbols_ = {};
        error = missing.startsWith(file) ? missing : file + QLatin1String(": ") + missing;
        return false;
    }
    handle_ = handle;
    fileName_ = mappedFile(handle, file);
    return true;
}

LibErrorRecord DynamicZelLibrary::notLoadedRecord() const {
    const QString text = QLatin1String("Communication library not loaded: ") + loadError_;
    return {kLibraryNotLoadedError,
            text.left(kLibErrorTextLength).leftJustified(kLibErrorTextLength, u' ')};
}

}  // namespace zel
