// A pseudo-terminal standing in for the controller's serial port. The simulator keeps its own
// descriptor of the slave side open, so the master never sees a hangup while the monitor
// closes and reopens the line. With a required baud rate it answers only while the line is
// set to that rate, the way a controller ignores what arrives at the wrong speed. With a boot
// loader, the programming-mode request hands the line to it; while it runs, raw bytes go to it
// and frames (which begin with the magic, never found in its traffic) get its error code.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "boot_loader.h"
#include "dispatcher.h"
#include "frame.h"
#include "poller.h"
#include "route.h"
#include "socket_util.h"

namespace zel::sim {

class PtyEndpoint final : public ReplySink {
public:
    // `link`: a symbolic link to create to the slave (empty: none); a boot loader when
    // boot.firmwareOut names its file. Throws std::system_error.
    PtyEndpoint(Poller& poller, Dispatcher& dispatcher, const std::string& link,
                const BootSettings& boot);
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    void deliver(const Route& route, std::span<const uint8_t> bytes, bool endLink) override;

private:
    void onEvent(short revents);
    void receive();
    void flush();
    bool lineAtRequiredSpeed() const;
    int lineBaud() const;
    bool forBootLoader(std::span<const uint8_t> bytes) const;
    // The boot loader's answer to a frame, if it takes the frame.
    std::optional<codec::Frame> bootAnswer(const codec::Frame& request);
    void send(std::span<const uint8_t> bytes);

    Poller& poller_;
    Dispatcher& dispatcher_;
    UniqueFd master_;
    UniqueFd slave_;
    std::string slavePath_;
    std::string link_;
    std::optional<int> baud_;
    std::unique_ptr<BootLoader> boot_;
    codec::StreamDecoder decoder_;
    std::vector<uint8_t> outgoing_;
    bool ended_ = false;
};

// The termios speed constant of a baud rate, if the line can take it.
std::optional<unsigned> speedConstant(int baud);

}  // namespace zel::sim
