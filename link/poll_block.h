// One window's part of the polling tick. Each window registers a block at its place in the tick
// (the list of windows gives the place); the tick runs the blocks in that order, each only while
// its window is open and the link is usable.
#pragma once

#include <stdexcept>

#include "common/app_state.h"
#include "common/event_pump.h"
#include "link/zel_library.h"

namespace zel {

// Ends the tick through its error path: "Error in polling routine!" and the text, and the next
// tick reconnects.
class PollingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a block may use during a tick.
class PollContext {
public:
    PollContext(AppState& state, ZelLibrary& library, EventPump pump)
        : state(state), library(library), pump(std::move(pump)) {}

    // After a read that did not return 1: fetches the library's error and, unless it says the
    // resource is absent (216), marks the tick's communication error. True when it was absent.
    bool readFailed();
    // The link may still be used: a connection is open and no transfer holds the controller.
    // Blocks that let events run re-test it afterwards.
    bool linkUsable() const;

    AppState& state;
    ZelLibrary& library;
    EventPump pump;
    // Set by a block after which no other block may run in this tick.
    bool tickEnded = false;
};

class PollBlock {
public:
    virtual ~PollBlock() = default;
    // The window's open flag.
    virtual bool isOpen() const = 0;
    // Reads the window's visible values and shows them; may throw PollingError.
    virtual void refresh(PollContext& context) = 0;
};

}  // namespace zel
