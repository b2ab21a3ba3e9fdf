// A pseudo-terminal standing in for the controller's serial port. The simulator keeps its own
// descriptor of the slave side open, so the master never sees a hangup while the monitor
// closes and reopens the line. With a required baud rate it answers only while the line is
// set to that rate, the way a controller ignores what arrives at the wrong speed. With a boot
// loader, the programming-mode request hands the line to it; while it runs, raw bytes go to it
// and frames (which begin with the magic, never found in its traffic) get its error code.
// With line pacing, bytes take their time on the wire in both directions (line_pacer.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "boot_loader.h"
#include "dispatcher.h"
#include "frame.h"
#include "line_pacer.h"
#include "poller.h"
#include "route.h"
#include "socket_util.h"

namespace zel::sim {

class PtyEndpoint final : public ReplySink {
public:
    // `link`: a symbolic link to create to the slave (empty: none); a boot loader when
    // boot.firmwareOut names its file; bytes paced when `pacing` is given. Throws
    // std::system_error.
    PtyEndpoint(Poller& poller, Dispatcher& dispatcher, const std::string& link,
                const BootSettings& boot, std::optional<LinePacing> pacing);
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    void deliver(const Route& route, std::span<const uint8_t> bytes, bool endLink) override;
    // With pacing: when received bytes are due to be handled or reply bytes to be written
    // (steady_clock milliseconds, rounded up), and the call that does it.
    std::optional<int64_t> nextDueMs() const;
    void runDue();

private:
    void onEvent(short revents);
    void receive();
    void take(std::span<const uint8_t> bytes);
    void flush();
    LineFormat lineFormat() const;
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
    bool writeBlocked_ = false;  // the client stopped reading: wait for POLLOUT
    std::optional<LinePacer> pacer_;
    int pacedBaud_ = 0;  // 0: the rate the client set on the line
    std::vector<uint8_t> incoming_;  // read, but still arriving on the paced line
    bool ended_ = false;
};

}  // namespace zel::sim
