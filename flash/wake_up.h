// The 7400's wake-up on the raw serial port (MSComm1): when a 7400 sits in its boot loader it
// hears nothing until a "3" arrives at 57600 baud, 8 data bits, no parity, one stop bit.
#pragma once

#include <QByteArray>
#include <QString>

namespace zel {

struct WakeUpResult {
    bool opened = false;
    QByteArray received;
    QString error;  // why the port could not be opened or set
};

// Opens the port, sends "3", collects the answer up to its line feed or for at most
// `waitSeconds`, and closes the port.
WakeUpResult wakeUp7400(int port, double waitSeconds);

}  // namespace zel
