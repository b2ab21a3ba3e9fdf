// One connection to the controller for the length of a command: the library loaded from beside
// the program, the link opened as the monitor opens it, and the failure of any call turned into
// the library's text on standard error and an exit status.
#pragma once

#include <QString>
#include <memory>

#include "common/app_state.h"
#include "link/dynamic_zel_library.h"
#include "zelctl/arguments.h"

namespace zel::ctl {

class Session {
public:
    explicit Session(const QString& applicationFolder);

    // Opens the link named by the arguments or the settings profile. On failure the reason was
    // printed and the exit status is returned; kSuccess when connected.
    int open(const Arguments& arguments);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ZelLibrary& library() { return library_; }
    AppState& state() { return state_; }
    int32_t handle() const { return state_.connection.CommHandle; }

    // After a call that did not return 1: fetches the library's error, prints "what: text" on
    // standard error and returns the exit status its code stands for.
    int callFailed(const QString& what);
    // Prints "what: text" for the error record already in the state.
    int reportError(const QString& what);

private:
    bool settingsFromProfile(const QString& file, QString& error);

    DynamicZelLibrary library_;
    AppState state_;
};

// Prints "zelctl: " and the text on standard error.
void printError(const QString& text);

}  // namespace zel::ctl
