// The simulator's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "link_faults.h"

namespace zel::sim {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Options {
    bool help = false;
    bool version = false;
    std::string scenarioPath;
    std::string bind = "127.0.0.1";
    std::optional<uint16_t> tcpPort;
    std::optional<uint16_t> udpPort;
    bool pty = false;
    std::string ptyLink;
    std::optional<int> baud;
    std::optional<int> lineRate;  // 0: the rate the client sets on the line
    std::optional<int> turnaroundMs;
    std::optional<uint16_t> zelnetNode;
    std::optional<uint16_t> zelnetBase;
    std::string writeDso;
    // The boot loader on the pty: enabled by the firmware file it writes.
    std::string firmwareOut;
    std::optional<std::string> bootModule;
    std::optional<int> bootFailLine;
    std::optional<uint16_t> inBootLoader;
    std::optional<int> bootModel;
    // Link faults given on the command line; each replaces the scenario's value.
    std::optional<int> latencyMs;
    std::optional<double> dropRate;
    std::optional<int> dropEvery;
    std::optional<double> corruptRate;
    std::optional<int> closeAfter;
    std::vector<ErrorRange> errorRanges;
    std::optional<uint64_t> seed;
    // How many times as fast as the host's clock the controller's runs: its program and its
    // animations, not the link's delays (a soak benchmark's half hour in minutes).
    int speed = 1;
};

// Throws UsageError with a message for the user.
Options parseOptions(const std::vector<std::string>& args);
std::string usageText();
// The boot loader's settings from the command line.
struct BootSettings;
BootSettings bootSettings(const Options& options);
// The pty's line pacing, when the command line asks for it.
struct LinePacing;
std::optional<LinePacing> linePacing(const Options& options);
// The scenario's link faults with the command line's replacements applied.
LinkFaultSettings mergeLinkFaults(LinkFaultSettings scenario, const Options& options);

}  // namespace zel::sim
