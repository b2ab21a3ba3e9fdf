// The start-up choice of which remembered files are loaded: one box per remembered file name,
// offered when the name is set. A name the user unticks is forgotten, so that file is not
// loaded now and is not offered again.
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

private:
    QString& name(int index);

    FileSettings& files_;
    std::array<StartupFileBox, kBoxes> boxes_;
};

}  // namespace zel
