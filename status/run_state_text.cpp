#include "status/run_state_text.h"

#include "link/fault_text.h"

namespace zel::status {

QString runStateText(const StatusRecord& record) {
    if (record.FaultCode != 0) {
        return QStringLiteral("Controller Software Faulted in Step ") +
               QString::number(int64_t{record.FaultStep} + 1) + QStringLiteral("! ") +
               FaultCodeText(record.FaultCode, record.FaultDatum);
    }
    return record.RunStopped != 0 ? QStringLiteral("Controller Stopped")
                                  : QStringLiteral("Controller Running");
}

}  // namespace zel::status
