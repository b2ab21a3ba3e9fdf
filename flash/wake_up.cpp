#include "flash/wake_up.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>

#include "zelcom/serial/serial_line.h"

namespace zel {
namespace {

constexpr int kWakeUpBaud = 57600;

}  // namespace

WakeUpResult wakeUp7400(int port, double waitSeconds) {
    WakeUpResult result;
    const serial::OpenResult line = serial::openRawLine(serial::devicePathForPort(port));
    if (line.fd < 0) {
        result.error = QString::fromStdString(line.error);
        return result;
    }
    result.opened = true;
    if (!serial::setLineSpeed(line.fd, kWakeUpBaud) || !serial::setLineFormat(line.fd, 0, 8, 0)) {
        result.error = QStringLiteral("cannot set 57600,n,8,1");
    } else if (::write(line.fd, "3", 1) != 1) {
        result.error = QStringLiteral("cannot send the wake-up");
    } else {
        // The answer is a line; stop at its end rather than always waiting the whole time.
        using Clock = std::chrono::steady_clock;
        const auto end = Clock::now() + std::chrono::duration<double>(waitSeconds);
        while (!result.received.endsWith('\n')) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0) break;
            pollfd in{line.fd, POLLIN, 0};
            if (::poll(&in, 1, static_cast<int>(left)) <= 0) break;
            char bytes[256];
            const ssize_t n = ::read(line.fd, bytes, sizeof bytes);
            if (n <= 0) break;
            result.received.append(bytes, n);
        }
    }
    ::close(line.fd);
    return result;
}

}  // namespace zel
