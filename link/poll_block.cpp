#include "link/poll_block.h"

#include "link/lib_error.h"
#include "link/link_claim.h"

namespace zel {

bool PollContext::readFailed() {
    const int32_t fetched = fetchLibError(library, state);
    const bool absent = isAbsentResource(fetched, state.LibError);
    if (!absent) state.flags.CommErrorFlag = true;
    return absent;
}

bool PollContext::linkUsable() const {
    return state.connection.CommHandle != 0 && !state.flags.NoCommunication && linkFree(state);
}

}  // namespace zel
