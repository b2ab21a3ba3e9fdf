#include "boot_loader.h"

#include <cerrno>
#include <cctype>
#include <system_error>

namespace zel::sim {
namespace {

constexpr uint8_t kProgrammingCommand = 105;
// The port byte of the request: 0x86 0x03 for a CPU module's port, 0x06 for a comm module's.
constexpr uint8_t kCpuPort = 0x86;
constexpr uint8_t kCommPort = 0x06;
constexpr uint16_t kDefaultFrameError = 206;

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int hexByte(const std::string& s, size_t at) {
    const int high = hexValue(s[at]), low = hexValue(s[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// Checksum and end byte as the controller's raw packets have them.
bool packetFramed(std::span<const uint8_t> p) {
    if (p.size() < 5 || p[0] != 1 || static_cast<size_t>(p[1]) != p.size() - 2 || p.back() != 255)
        return false;
    unsigned sum = 0;
    for (size_t i = 2; i + 2 < p.size(); ++i) sum += p[i];
    return p[p.size() - 2] == static_cast<uint8_t>(255 - (sum & 0xFF));
}

void say(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

std::optional<int> baudOfDigit(uint8_t digit) {
    switch (digit) {
        case '3': return 38400;
        case '9': return 9600;
        case '1': return 19200;
        default: return std::nullopt;
    }
}

}  // namespace

BootLoader::BootLoader(BootSettings settings) : settings_(std::move(settings)) {
    if (!settings_.firmwareOut.empty()) {
        firmware_.open(settings_.firmwareOut, std::ios::binary | std::ios::trunc);
        if (!firmware_)
            throw std::system_error(errno, std::generic_category(),
                                    "firmware file " + settings_.firmwareOut);
    }
    if (settings_.startInLoader != 0) {
        enter();
        frameError_ = settings_.startInLoader;
        // A 7400 that is already in its boot loader listens only for its wake-up.
        awake_ = settings_.module != BootModule::Unit7400;
    }
}

void BootLoader::enter() {
    active_ = true;
    stalled_ = false;
    frameError_ = kDefaultFrameError;
    rate_ = settings_.baud;
    inRecord_ = false;
    terminated_ = false;
    records_ = dataRecords_ = 0;
}

std::optional<std::vector<uint8_t>> BootLoader::programmingRequest(std::span<const uint8_t> packet) {
    if (!packetFramed(packet) || packet[2] != kProgrammingCommand) return std::nullopt;
    const bool cpuPort = packet[3] == kCpuPort;
    if (!cpuPort && packet[3] != kCommPort) return std::nullopt;
    const bool ours = cpuPort == (settings_.module != BootModule::Comm);
    const uint8_t answer = ours ? 'd' : 'g';
    if (ours) enter();
    return std::vector<uint8_t>{3, answer, static_cast<uint8_t>(answer ^ 0xFF), 255};
}

std::vector<uint8_t> BootLoader::receive(std::span<const uint8_t> bytes, int lineBaud) {
    std::vector<uint8_t> out;
    if (!awake_) {
        for (uint8_t b : bytes) {
            if (b == '3' && lineBaud == kWakeUpBaud) {
                awake_ = true;
                say(out, "7400 BOOT\r\n");
                break;
            }
        }
        return out;
    }
    if (stalled_ || (rate_ && lineBaud != *rate_)) return out;
    for (uint8_t b : bytes) {
        if (!active_ || stalled_) break;
        take(b, out);
    }
    return out;
}

void BootLoader::take(uint8_t b, std::vector<uint8_t>& out) {
    if (inRecord_) {
        record_.push_back(static_cast<char>(b));
        if (record_.size() == 4 && hexByte(record_, 2) < 0) stalled_ = true;
        if (record_.size() >= 4 && record_.size() == 4 + 2 * static_cast<size_t>(hexByte(record_, 2)))
            endRecord(out);
        return;
    }
    if (b == 'S') {
        inRecord_ = true;
        // Filled rather than copied from a literal, which g++ 12 at -O3 takes for an
        // overlapping copy (-Wrestrict).
        record_.assign(1, 'S');
    } else if (b == kXon && terminated_) {
        out.push_back(kXon);
        say(out, "VERIFIED\r\nDone\r\n");
        active_ = false;
    } else if (b == kXon) {
        if (records_ == 0) say(out, "BOOT LOADER READY");
        else if (dataRecords_ > 0 && dataRecords_ % kDataReportEvery == 0)
            say(out, "DATA " + std::to_string(dataRecords_) + " RECORDS\r\n");
        out.push_back(kXon);
    } else if (auto baud = baudOfDigit(b); baud && records_ == 0) {
        out.push_back(b);
        rate_ = *baud;
    }
}

void BootLoader::endRecord(std::vector<uint8_t>& out) {
    inRecord_ = false;
    ++records_;
    if (!validRecord(record_) || records_ == settings_.failAtRecord) {
        stalled_ = true;
        return;
    }
    firmware_ << record_ << '\n';
    firmware_.flush();
    out.push_back(kXoff);
    const char type = record_[1];
    if (type == '0') {
        say(out, "ERASED 00000010\r\n");
    } else if (type >= '1' && type <= '3') {
        ++dataRecords_;
    } else if (type >= '7' && type <= '9') {
        terminated_ = true;
    }
}

// Sn, a count of the bytes that follow, and a checksum that makes their sum 0xFF.
bool BootLoader::validRecord(const std::string& r) {
    if (r.size() < 6 || !std::isdigit(static_cast<unsigned char>(r[1]))) return false;
    unsigned sum = 0;
    for (size_t i = 2; i < r.size(); i += 2) {
        const int b = hexByte(r, i);
        if (b < 0) return false;
        sum += static_cast<unsigned>(b);
    }
    return (sum & 0xFF) == 0xFF;
}

}  // namespace zel::sim
