#include "options.h"

#include "boot_loader.h"
#include "line_pacer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace zel::sim {
namespace {

template <typename T>
T number(const std::string& flag, const std::string& text, T low, T high) {
    T v{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high)
        throw UsageError(flag + ": expected a number " + std::to_string(low) + ".." +
                         std::to_string(high) + ", got \"" + text + "\"");
    return v;
}

double probability(const std::string& flag, const std::string& text) {
    size_t used = 0;
    double v = -1;
    try {
        v = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !(v >= 0 && v <= 1))
        throw UsageError(flag + ": expected a probability 0..1, got \"" + text + "\"");
    return v;
}

ErrorRange errorRange(const std::string& text) {
    const auto a = text.find(':');
    const auto b = text.find(':', a == std::string::npos ? a : a + 1);
    if (a == std::string::npos || b == std::string::npos)
        throw UsageError("--error-range: expected FIRST:LAST:CODE, got \"" + text + "\"");
    ErrorRange r{number<int>("--error-range", text.substr(0, a), 1, 40000),
                 number<int>("--error-range", text.substr(a + 1, b - a - 1), 1, 40000),
                 number<uint16_t>("--error-range", text.substr(b + 1), 1, 65535)};
    if (r.last < r.first) throw UsageError("--error-range: LAST is below FIRST");
    return r;
}

bool setEndpointOption(Options& o, const std::string& flag, const std::string& v) {
    if (flag == "--scenario")
        o.scenarioPath = v;
    else if (flag == "--write-dso")
        o.writeDso = v;
    else if (flag == "--bind")
        o.bind = v;
    else if (flag == "--tcp")
        o.tcpPort = number<uint16_t>(flag, v, 0, 65535);
    else if (flag == "--udp")
        o.udpPort = number<uint16_t>(flag, v, 0, 65535);
    else if (flag == "--baud")
        o.baud = number<int>(flag, v, 50, 4000000);
    else if (flag == "--line-rate")
        o.lineRate = v == "line" ? 0 : number<int>(flag, v, 50, 4000000);
    else if (flag == "--turnaround")
        o.turnaroundMs = number<int>(flag, v, 0, 600000);
    else if (flag == "--zelnet-node")
        o.zelnetNode = number<uint16_t>(flag, v, 1, 32767);
    else if (flag == "--zelnet-base")
        o.zelnetBase = number<uint16_t>(flag, v, 1, 65535);
    else if (flag == "--firmware-out")
        o.firmwareOut = v;
    else if (flag == "--boot-module") {
        if (v != "cpu" && v != "comm" && v != "7400")
            throw UsageError("--boot-module: expected cpu, comm or 7400, got \"" + v + "\"");
        o.bootModule = v;
    } else if (flag == "--boot-fail-line")
        o.bootFailLine = number<int>(flag, v, 1, INT32_MAX);
    else if (flag == "--in-boot-loader")
        o.inBootLoader = number<uint16_t>(flag, v, 1, 65535);
    else if (flag == "--boot-model")
        o.bootModel = number<int>(flag, v, 1, 255);
    else if (flag == "--speed")
        o.speed = number<int>(flag, v, 1, 100);
    else
        return false;
    return true;
}

bool setFaultOption(Options& o, const std::string& flag, const std::string& v) {
    if (flag == "--latency")
        o.latencyMs = number<int>(flag, v, 0, 600000);
    else if (flag == "--drop-rate")
        o.dropRate = probability(flag, v);
    else if (flag == "--drop-every")
        o.dropEvery = number<int>(flag, v, 0, INT32_MAX);
    else if (flag == "--corrupt-rate")
        o.corruptRate = probability(flag, v);
    else if (flag == "--close-after")
        o.closeAfter = number<int>(flag, v, 0, INT32_MAX);
    else if (flag == "--error-range")
        o.errorRanges.push_back(errorRange(v));
    else if (flag == "--seed")
        o.seed = number<uint64_t>(flag, v, 0, UINT64_MAX);
    else
        return false;
    return true;
}

bool isValueFlag(const std::string& flag) {
    static const std::array<std::string_view, 23> kFlags{
        "--scenario",     "--write-dso",      "--bind",           "--tcp",
        "--udp",          "--baud",           "--zelnet-node",    "--zelnet-base",
        "--latency",      "--drop-rate",      "--drop-every",     "--corrupt-rate",
        "--close-after",  "--error-range",    "--seed",           "--firmware-out",
        "--boot-module",  "--boot-fail-line", "--in-boot-loader", "--boot-model",
        "--line-rate",    "--turnaround",     "--speed"};
    return std::find(kFlags.begin(), kFlags.end(), flag) != kFlags.end();
}

// The --pty flag takes its link path only when the next argument is not another option.
void setPty(Options& o, const std::optional<std::string>& inlineValue,
            const std::vector<std::string>& args, size_t& i) {
    o.pty = true;
    if (inlineValue)
        o.ptyLink = *inlineValue;
    else if (i + 1 < args.size() && args[i + 1].rfind("-", 0) != 0)
        o.ptyLink = args[++i];
}

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string flag = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = flag.find('='); flag.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = flag.substr(eq + 1);
            flag = flag.substr(0, eq);
        }
        if (flag == "--help" || flag == "-h")
            o.help = true;
        else if (flag == "--version")
            o.version = true;
        else if (flag == "--pty")
            setPty(o, inlineValue, args, i);
        else if (!isValueFlag(flag))
            throw UsageError("unknown option " + flag + " (see --help)");
        else if (!inlineValue && i + 1 >= args.size())
            throw UsageError(flag + " needs a value");
        else {
            const std::string value = inlineValue ? *inlineValue : args[++i];
            if (!setEndpointOption(o, flag, value)) setFaultOption(o, flag, value);
        }
    }
    if (o.baud && !o.pty) throw UsageError("--baud applies to --pty only");
    if (o.lineRate && !o.pty) throw UsageError("--line-rate applies to --pty only");
    if (o.turnaroundMs && !o.lineRate) throw UsageError("--turnaround needs --line-rate");
    if (!o.firmwareOut.empty() && !o.pty) throw UsageError("--firmware-out applies to --pty only");
    if ((o.bootModule || o.bootFailLine || o.inBootLoader) && o.firmwareOut.empty())
        throw UsageError("boot loader options need --firmware-out");
    return o;
}

BootSettings bootSettings(const Options& o) {
    BootSettings s;
    if (o.bootModule == "comm") s.module = BootModule::Comm;
    if (o.bootModule == "7400") s.module = BootModule::Unit7400;
    s.firmwareOut = o.firmwareOut;
    s.failAtRecord = o.bootFailLine.value_or(0);
    s.startInLoader = o.inBootLoader.value_or(0);
    s.baud = o.baud;
    return s;
}

std::optional<LinePacing> linePacing(const Options& o) {
    if (!o.lineRate) return std::nullopt;
    return LinePacing{*o.lineRate, std::chrono::milliseconds(o.turnaroundMs.value_or(0))};
}

LinkFaultSettings mergeLinkFaults(LinkFaultSettings s, const Options& o) {
    if (o.latencyMs) s.latencyMs = *o.latencyMs;
    if (o.dropRate) s.dropRate = *o.dropRate;
    if (o.dropEvery) s.dropEvery = *o.dropEvery;
    if (o.corruptRate) s.corruptRate = *o.corruptRate;
    if (o.closeAfter) s.closeAfter = *o.closeAfter;
    if (!o.errorRanges.empty()) s.errorRanges = o.errorRanges;
    if (o.seed) s.seed = *o.seed;
    return s;
}

std::string usageText() {
    return R"(Usage: zelsim [OPTIONS]
A controller simulator that answers the controller protocol.

Scenario and output:
  --scenario FILE       scenario to simulate (JSON); without it a small default controller
  --write-dso FILE      write the scenario's program as a program object file and exit
  --help, -h            show this text and exit
  --version             show the version and exit

Endpoints (with none given, TCP on port 7401):
  --bind ADDR           IPv4 address to listen on (default 127.0.0.1)
  --tcp PORT            TCP listener; 0 picks a free port
  --udp PORT            UDP socket, one frame per datagram; 0 picks a free port
  --pty [LINK]          pseudo-terminal; LINK, if given, becomes a symbolic link to it
  --baud RATE           answer on the pty only while its line is set to RATE
  --line-rate RATE      pace the pty like a serial cable: every byte, both ways, takes its
                        time at RATE baud, or at the rate the client sets when RATE is "line"
  --turnaround MS       with --line-rate: wait MS milliseconds before each reply goes out
  --zelnet-node N       ZelNET node N, on UDP port BASE + N
  --zelnet-base PORT    ZelNET base port (default $ZELCOM_ZELNET_PORT, else 7500)
  --speed N             run the controller's clock (program, animations) N times as fast
                        as the host's, 1..100 (default 1)

Boot loader on the pty (firmware updates):
  --firmware-out FILE   enable it; the records it takes are written to FILE, one a line
  --boot-module KIND    cpu (default), comm or 7400: which programming-mode request is ours
  --in-boot-loader CODE start in the boot loader; frames are answered with error CODE
  --boot-fail-line N    fall silent on the Nth record received
  --boot-model CODE     register 13008 accepts a write of CODE (and refuses others with 203)

Link faults (each replaces the scenario's value):
  --latency MS          delay every reply by MS milliseconds
  --drop-rate P         lose each reply with probability P (0..1)
  --drop-every N        lose every Nth reply
  --corrupt-rate P      damage one byte of each reply with probability P
  --close-after N       end a link after N requests (TCP closes; UDP, ZelNET and pty fall silent)
  --error-range F:L:C   answer register requests touching registers F..L with error C
                        (may be given more than once)
  --seed N              seed of the random choices (default 1)

When every endpoint listens, one line per endpoint and then "ready" are printed:
  tcp ADDR PORT | udp ADDR PORT | pty PATH | zelnet NODE ADDR PORT
)";
}

}  // namespace zel::sim
