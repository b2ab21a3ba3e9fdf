#include "fd_transport.h"
#include "serial_line.h"
#include "transports.h"
#include "zelcom.h"

namespace zel::com {
namespace {

class SerialTransport : public FdTransport {
public:
    explicit SerialTransport(int fd) : FdTransport(fd, Kind::Line) {}

    Status initLine(int baud, int parity, int dataBits, int stopBits) override {
        if (!serial::setLineSpeed(fd(), baud))
            return failure(ZL_ERR_BAUD_RATE, std::to_string(baud));
        if (!serial::setLineFormat(fd(), parity, dataBits, stopBits))
            return failure(ZL_ERR_BAD_ARGUMENT, "line format");
        return Status::success();
    }
};

}  // namespace

Status openSerial(int port, std::unique_ptr<Transport>& out) {
    if (port < 1 || port > 255) return failure(ZL_ERR_BAD_ARGUMENT, "serial port " + std::to_string(port));
    serial::OpenResult line = serial::openRawLine(serial::devicePathForPort(port));
    if (line.fd < 0) return failure(ZL_ERR_OPEN_FAILED, line.error);
    out = std::make_unique<SerialTransport>(line.fd);
    return Status::success();
}

}  // namespace zel::com
