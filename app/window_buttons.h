// The main window's window buttons: each opens a child window in the same way, with its own
// status texts.
#pragma once

#include <QString>
#include <functional>

namespace zel {

struct WindowButton {
    const char* name;     // the button's control name
    const char* caption;  // its caption
    const char* loading;  // status text while the window opens; empty for none
    const char* loaded;   // status text once it is open
};

// Every window button, in the order the main window lays them out.
const WindowButton* windowButtons(int& count);
const WindowButton* findWindowButton(const QString& name);

// The step status window's title as its button gives it: the controller's address, not the
// connection caption.
QString stepStatusTitle(const QString& controllerIP);

// Servos 17 to 32 have a window of their own, opened with the first when the controller has them.
bool needsSecondServoWindow(int servoCount);

inline const QString kNoCommunicationQuestion =
    QStringLiteral("There is NO communication with the controller!\r\r\nDo you wish to display "
                   "the form anyway ?");

}  // namespace zel
