#include "link/poll_block.h"

#include "link/lib_error.h"

namespace zel {

bool PollContext::readFailed() {
    const int32_t fetched = fetchLibError(library, state);
    const bool absent = isAbsentResource(fetched, state.LibError);
    if (!absent) state.flags.CommErrorFlag = true;
    return absent;
}

bool PollContext::linkUsable() const {
    const MonitoringFlags& f = state.flags;
    return state.connection.CommHandle != 0 && !f.NoCommunication && !f.TableUploadBusy &&
           !f.DownloadBusy;
}

}  // namespace zel
