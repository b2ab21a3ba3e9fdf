// Rules of the main window's window buttons that are not texts of the list of windows.
#pragma once

#include <QString>

namespace zel {

// The step status window's title as its button gives it: the controller's address, not the
// connection caption.
QString stepStatusTitle(const QString& controllerIP);

// Servos 17 to 32 have a window of their own, opened with the first when the controller has them.
bool needsSecondServoWindow(int servoCount);

inline const QString kNoCommunicationQuestion =
    QStringLiteral("There is NO communication with the controller!\r\r\nDo you wish to display "
                   "the form anyway ?");

}  // namespace zel
