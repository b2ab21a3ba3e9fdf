// One link to a controller. The connection above it does framing, request ids and deadlines
// once for every kind of link; a transport only moves bytes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "status.h"

namespace zel::com {

class Transport {
public:
    virtual ~Transport() = default;

    // The descriptor the connection polls for reading and writing.
    virtual int fd() const = 0;
    // Datagram links carry exactly one frame per read; stream links carry a byte stream.
    virtual bool datagram() const = 0;
    // Writes as much as the link takes now; returns the count, 0 when it would block, -1 on a
    // failure (detail in status).
    virtual ssize_t writeSome(std::span<const uint8_t> bytes, Status& status) = 0;
    // Reads what is there; 0 means the link was closed by the far end, -1 would block or failed
    // (status says which: code 0 for would-block).
    virtual ssize_t readSome(std::span<uint8_t> buffer, Status& status) = 0;
    // A link whose reads wait for bytes themselves, up to the time last given to setReadWait,
    // costs one system call per reply instead of a poll and a read. Such a read may also end
    // early with nothing (a signal); the caller then sets the time left and reads again.
    virtual bool waitsInRead() const { return false; }
    virtual Status setReadWait(std::chrono::milliseconds /*wait*/) { return Status::success(); }
    // Only a serial line carries the boot loader's raw exchange besides frames.
    virtual bool serialLine() const { return false; }
    // Line parameters; links without a line accept and ignore them.
    virtual Status initLine(int /*baud*/, int /*parity*/, int /*dataBits*/, int /*stopBits*/) {
        return Status::success();
    }
    // ZelNET addressing: the node this end answers as and the node it talks to.
    virtual uint16_t ownNode() const { return 0; }
    virtual uint16_t targetNode() const { return 0; }
};

}  // namespace zel::com
