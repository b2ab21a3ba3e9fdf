#include "resources/resource_services.h"

#include "link/lib_error.h"

namespace zel {

void reportWrite(ResourceServices& services, int32_t result, const QString& doneText,
                 const char* failurePhrase) {
    if (result == 1) {
        services.setMessage(doneText);
        return;
    }
    fetchLibError(services.library, services.state);
    services.setMessage(failureText(QString::fromLatin1(failurePhrase), services.state.LibError));
}

}  // namespace zel
