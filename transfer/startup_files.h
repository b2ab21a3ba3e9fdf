// The start-up choice of which remembered files are loaded: one box per remembered file name,
// offered when the name is set. A name the user unticks is forgotten, so that file is not
// loaded now and is not offered again. Dismissing the choice (Escape, the close box) loads
// nothing this run and forgets nothing.
#pragma once

#include <QString>
#include <array>

#include "common/app_state.h"

namespace zel {

struct StartupFileBox {
    QString caption;
    bool enabled = false;
    bool checked = false;
};

class StartupFiles {
public:
    static constexpr int kBoxes = 4;  // custom form 1, custom form 2, symbol file, data table

    explicit StartupFiles(FileSettings& files);

    // Whether the choice is offered at all: some remembered name is set.
    static bool offered(const FileSettings& files);

    const StartupFileBox& box(int index) const { return boxes_[static_cast<size_t>(index)]; }
    // A click on an enabled box; a disabled one stays as it is.
    void setChecked(int index, bool checked);

    // "&Okay": every enabled box left unticked forgets its name.
    void accept();
    // "&Cancel": every name is forgotten.
    void cancel();
    // Escape or the close box: no name is in use this run, and every one is set aside to be
    // remembered as before.
    void dismiss();
    // The names `dismiss` set aside; empty after the other answers.
    const FileSettings& setAside() const { return setAside_; }
    // Whether the answer forgot any name, so that the profile must be told at once.
    bool forgot() const { return forgot_; }
    // Before the names are saved: a name this run left empty is remembered as it was.
    static void restoreSetAside(FileSettings& files, const FileSettings& setAside);

private:
    QString& name(int index);

    FileSettings& files_;
    std::array<StartupFileBox, kBoxes> boxes_;
    FileSettings setAside_;
    bool forgot_ = false;
};

}  // namespace zel
