// The boot loader of the module behind the pty, for firmware updates. The framed programming-
// mode request puts the module in it (or it starts there, as after an interrupted update); from
// then on the line is raw: XON is answered with XON, a baud digit switches the rate, S-records
// are taken one at a time and each is answered with XOFF; the XON after the termination record
// is answered and followed by "VERIFIED" and "Done", after which the module speaks frames again. What it takes is written, one record a
// line, to the firmware file, so a test can compare it with the image sent.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zel::sim {

enum class BootModule { Cpu, Comm, Unit7400 };

struct BootSettings {
    BootModule module = BootModule::Cpu;
    std::string firmwareOut;
    int failAtRecord = 0;         // falls silent on this record (1-based); 0 never
    uint16_t startInLoader = 0;   // non-zero: starts in the boot loader; frames get this error
    std::optional<int> baud;      // the line's rate outside the boot loader (none: any)
};

inline constexpr uint8_t kXon = 17;
inline constexpr uint8_t kXoff = 19;
inline constexpr int kWakeUpBaud = 57600;
// A data record count that is a multiple of this is reported in a "DATA" message.
inline constexpr int kDataReportEvery = 16;

class BootLoader {
public:
    // Throws std::system_error when the firmware file cannot be created.
    explicit BootLoader(BootSettings settings);

    bool active() const { return active_; }
    // The error code every frame gets while the boot loader runs.
    uint16_t frameError() const { return frameError_; }
    // The rate the line must be at for the module to hear it (none: any).
    std::optional<int> requiredBaud() const { return active_ ? rate_ : settings_.baud; }

    // The raw packet of a SendData request, if it is the programming-mode request: the reply
    // packet ("d" enters the boot loader, "g" means the request was for the other kind of
    // module).
    std::optional<std::vector<uint8_t>> programmingRequest(std::span<const uint8_t> packet);

    // Raw bytes heard while active, at the line's current rate; returns what the module says.
    std::vector<uint8_t> receive(std::span<const uint8_t> bytes, int lineBaud);

private:
    void enter();
    void take(uint8_t byte, std::vector<uint8_t>& out);
    void endRecord(std::vector<uint8_t>& out);
    static bool validRecord(const std::string& record);

    BootSettings settings_;
    std::ofstream firmware_;
    bool active_ = false;
    bool awake_ = true;
    bool stalled_ = false;
    uint16_t frameError_ = 0;
    std::optional<int> rate_;
    bool inRecord_ = false;
    std::string record_;
    int records_ = 0;
    int dataRecords_ = 0;
    // The termination record has been taken; the next XON gets the verdict.
    bool terminated_ = false;
};

}  // namespace zel::sim
