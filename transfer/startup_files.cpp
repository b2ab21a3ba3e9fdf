#include "transfer/startup_files.h"

namespace zel {
namespace {

constexpr std::array<const char*, StartupFiles::kBoxes> kKinds = {
    "Custom Form 1 file", "Custom Form 2 file", "Symbol file", "Data Table file"};

// The remembered name of box `index`, for the settings or a copy of them.
template <typename Files>
auto& nameIn(Files& files, int index) {
    switch (index) {
    case 0: return files.CustomScreen1File;
    case 1: return files.CustomScreen2File;
    case 2: return files.SymbolFileName;
    default: return files.DataTableFile;
    }
}

}  // namespace

StartupFiles::StartupFiles(FileSettings& files) : files_(files) {
    for (int i = 0; i < kBoxes; ++i) {
        StartupFileBox& b = boxes_[static_cast<size_t>(i)];
        const QString kind = QString::fromLatin1(kKinds[static_cast<size_t>(i)]);
        const QString& remembered = name(i);
        b.enabled = b.checked = !remembered.isEmpty();
        b.caption = b.enabled ? kind + u' ' + remembered : kind + QStringLiteral(" NOT defined.");
    }
}

bool StartupFiles::offered(const FileSettings& files) {
    return !files.CustomScreen1File.isEmpty() || !files.CustomScreen2File.isEmpty() ||
           !files.SymbolFileName.isEmpty() || !files.DataTableFile.isEmpty();
}

QString& StartupFiles::name(int index) {
    return nameIn(files_, index);
}

void StartupFiles::setChecked(int index, bool checked) {
    StartupFileBox& b = boxes_[static_cast<size_t>(index)];
    if (b.enabled) b.checked = checked;
}

void StartupFiles::accept() {
    forgot_ = false;
    for (int i = 0; i < kBoxes; ++i) {
        const StartupFileBox& b = boxes_[static_cast<size_t>(i)];
        if (!b.enabled || b.checked) continue;
        name(i).clear();
        forgot_ = true;
    }
}

void StartupFiles::cancel() {
    forgot_ = true;
    for (int i = 0; i < kBoxes; ++i) name(i).clear();
}

void StartupFiles::dismiss() {
    setAside_ = files_;
    for (int i = 0; i < kBoxes; ++i) name(i).clear();
}

void StartupFiles::restoreSetAside(FileSettings& files, const FileSettings& setAside) {
    for (int i = 0; i < kBoxes; ++i)
        if (QString& current = nameIn(files, i); current.isEmpty())
            current = nameIn(setAside, i);
}

}  // namespace zel
