// Starting, stopping and resetting the controller's program by rewriting its status word.
#pragma once

#include "common/app_state.h"
#include "app/main_view.h"
#include "link/zel_library.h"

namespace zel {

class RunControl {
public:
    RunControl(AppState& state, ZelLibrary& library, MainView& view);

    void start();
    void stop();
    void reset();

    // Models that take status writes: 3, and 5 and above.
    static bool supportsRunCommands(int32_t modelCode);

private:
    // The question, then whether there is a link at all.
    bool confirmed(const QString& question);
    bool readStatus(int32_t& status);

    AppState& state_;
    ZelLibrary& library_;
    MainView& view_;
};

}  // namespace zel
