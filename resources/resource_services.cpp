#include "resources/resource_services.h"

#include "link/lib_error.h"
#include "link/link_claim.h"

namespace zel {

void writeAndReport(ResourceServices& services, const std::function<int32_t()>& write,
                    const QString& doneText, const char* failurePhrase) {
    if (!linkFree(services.state)) {
        services.setMessage(kLinkClaimedMessage);
        return;
    }
    if (write() == 1) {
        services.setMessage(doneText);
        return;
    }
    fetchLibError(services.library, services.state);
    services.setMessage(failureText(QString::fromLatin1(failurePhrase), services.state.LibError));
}

}  // namespace zel
