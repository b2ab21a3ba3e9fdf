#include "poll_block.h"

#include "lib_error.h"

namespace zel {

void PollContext::readFailed() {
    const int32_t fetched = fetchLibError(library, state);
    if (!isAbsentResource(fetched, state.LibError)) state.flags.CommErrorFlag = true;
}

bool PollContext::linkUsable() const {
    const MonitoringFlags& f = state.flags;
    return state.connection.CommHandle != 0 && !f.NoCommunication && !f.TableUploadBusy &&
           !f.DownloadBusy;
}

}  // namespace zel
