// The exit statuses zelctl ends with; scripts tell the kinds of failure apart by them.
#pragma once

namespace zel::ctl {

enum ExitStatus : int {
    kSuccess = 0,
    // The command line, a name, a value or a file was refused; nothing was written.
    kBadUsage = 2,
    // No controller could be reached, or the link failed during the command.
    kLinkFailure = 3,
    // The controller answered but refused the request.
    kControllerError = 4,
};

}  // namespace zel::ctl
