#include "serial_line.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zel::serial {
namespace {

speed_t speedFor(int baud) {
    switch (baud) {
        case 1200: return B1200;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        case 230400: return B230400;
        default: return B0;
    }
}

}  // namespace

std::string devicePathForPort(int port) {
    const std::string var = "ZELCOM_COMM" + std::to_string(port);
    if (const char* mapped = std::getenv(var.c_str()); mapped && *mapped) return mapped;
    return "/dev/ttyS" + std::to_string(port - 1);
}

OpenResult openRawLine(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {-1, device + ": " + std::strerror(errno)};
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        const int err = errno;
        ::close(fd);
        return {-1, device + ": " + std::strerror(err)};
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    // One byte minimum with O_NONBLOCK: an empty line reads as EAGAIN, so a read of 0 can only
    // mean the far end hung up.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int err = errno;
        ::close(fd);
        return {-1, device + ": " + std::strerror(err)};
    }
    ::tcflush(fd, TCIOFLUSH);
    return {fd, {}};
}

bool setLineSpeed(int fd, int baud) {
    const speed_t speed = speedFor(baud);
    termios tio{};
    if (speed == B0 || ::tcgetattr(fd, &tio) != 0) return false;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return false;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return false;
    // tcsetattr succeeds if any part of the request took; read back to be sure the rate did.
    termios check{};
    return ::tcgetattr(fd, &check) == 0 && ::cfgetospeed(&check) == speed;
}

bool setLineFormat(int fd, int parity, int dataBits, int stopBitsCode) {
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    if (dataBits < 5 || dataBits > 8 || parity < 0 || parity > 2) return false;
    if (stopBitsCode != 0 && stopBitsCode != 2) return false;
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return false;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    tio.c_cflag |= kSizes[dataBits - 5];
    if (parity != 0) tio.c_cflag |= PARENB | (parity == 1 ? PARODD : 0);
    if (stopBitsCode == 2) tio.c_cflag |= CSTOPB;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace zel::serial
