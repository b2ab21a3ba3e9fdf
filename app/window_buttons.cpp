#include "app/window_buttons.h"

namespace zel {

QString stepStatusTitle(const QString& controllerIP) {
    return controllerIP.isEmpty() ? QStringLiteral("Step Status")
                                  : QStringLiteral("Step Status - ") + controllerIP;
}

bool needsSecondServoWindow(int servoCount) { return servoCount > 16; }

}  // namespace zel
