// The small progress window frmFile that the companion register files show during a program
// transfer: a caption set per use and one progress bar from 0 to 100.
#pragma once

#include <QString>

namespace zel {

class FileProgressView {
public:
    virtual ~FileProgressView() = default;
    // Places the window beside the program transfer window and shows it, modeless.
    virtual void showProgress(const QString& caption) = 0;
    virtual void setProgressCaption(const QString& caption) = 0;
    // The flood percentage of SSPanel1, repainted at once.
    virtual void setProgress(int percent) = 0;
    virtual void unloadProgress() = 0;
};

}  // namespace zel
