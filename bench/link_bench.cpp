// Round trips of the communication library against the simulator, each as a ratio to a raw
// ping-pong of the same size on the same kind of link, measured in the same run.
//
//   zelbench_link [--quick]
//
// Goals: one register read at most 1.2 times its floor on every link, a 50-register read at
// most 1.05 times a single read, and the simulator's own handling a small part of a round trip.
#include <arpa/inet.h>
#include <sched.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "echo_peer.h"
#include "frame.h"
#include "program_store.h"
#include "protocol.h"
#include "request_handler.h"
#include "scenario.h"
#include "tests/support/sim_process.h"
#include "stats.h"
#include "wire.h"
#include "zelcom.h"

using namespace zel;
using zel::bench::EchoPeer;
using zel::bench::measure;
using zel::bench::Stats;

namespace {

// The size of a register read on the wire: header, register number, CRC; the reply adds the
// value instead of the number, so both ways carry the same count.
constexpr size_t kRequestBytes = codec::kHeaderSize + 4 + codec::kTrailerSize;

struct Row {
    std::string link;
    std::string call;
    Stats stats;
    Stats floor;
    const char* floorName;
    double goal;
};

void print(const Row& r) {
    const double ratio = r.stats.median_us / r.floor.median_us;
    std::printf("%-5s %-17s median %7.1f us  p99 %7.1f us | %-12s median %7.1f us | ratio %5.2f (goal <= %.2f) %s\n",
                r.link.c_str(), r.call.c_str(), r.stats.median_us, r.stats.p99_us, r.floorName,
                r.floor.median_us, ratio, r.goal, ratio <= r.goal ? "met" : "NOT MET");
}

int32_t openLink(const std::string& link, const test::SimProcess& sim) {
    if (link == "tcp") {
        ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
        int32_t timeout = 2000;
        return ZlOpenNetConnection(ZL_KIND_TCP, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)), &timeout);
    }
    if (link == "udp") {
        ::setenv("ZELCOM_UDP_PORT", std::to_string(sim.udpPort()).c_str(), 1);
        return ZlOpenConnection(ZL_KIND_UDP, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)));
    }
    ::setenv("ZELCOM_COMM1", sim.ptyPath().c_str(), 1);
    const int32_t h = ZlOpenConnection(ZL_KIND_SERIAL, 1, 0);
    if (h > 0) ZlInitConnection(h, 115200, 0, 8, 0);
    return h;
}

EchoPeer::Kind floorKind(const std::string& link) {
    if (link == "tcp") return EchoPeer::Kind::Tcp;
    if (link == "udp") return EchoPeer::Kind::Udp;
    return EchoPeer::Kind::Pty;
}

bool benchLink(const std::string& link, const test::SimProcess& sim, int iterations) {
    EchoPeer echo(floorKind(link));
    const int32_t h = openLink(link, sim);
    if (h <= 0) {
        std::fprintf(stderr, "cannot open %s link to the simulator\n", link.c_str());
        return false;
    }
    ZlSetConnectionTimeout(h, 2000);
    bool ok = true;
    int32_t value = 0;
    int32_t block[50];
    const auto stats = bench::measureInterleaved(
        iterations, {[&] { echo.ping(kRequestBytes); },
                     [&] { ok &= ZlGetRegister(h, 1, &value) == 1; },
                     [&] { ok &= ZlGetRegister50(h, 1, block) == 1; }});
    ZlCloseConnection(h);
    print({link, "ZlGetRegister", stats[1], stats[0], "raw ping-pong", 1.2});
    print({link, "ZlGetRegister50", stats[2], stats[1], "ZlGetRegister", 1.05});
    return ok;
}

// What the simulator spends on one request, in process: decode, handle, encode.
double simulatorCost(sim::RequestHandler& handler, codec::Op op, codec::ByteWriter body,
                     int iterations) {
    codec::Frame request;
    request.opcode = static_cast<uint16_t>(op);
    request.body = body.take();
    const std::vector<uint8_t> wire = codec::encodeFrame(request);
    return measure(iterations, [&] {
               auto decoded = codec::decodeDatagram(wire);
               if (codec::encodeFrame(handler.handle(*decoded)).empty()) std::abort();
           }).median_us;
}

void benchSimulator(int iterations, double roundTripUs) {
    auto controller = sim::buildController(sim::defaultScenario(), "default");
    sim::ProgramStore store(*controller);
    sim::RequestHandler handler(*controller, store);
    codec::ByteWriter one, fifty;
    one.i32(1);
    fifty.i32(1);
    fifty.u16(50);
    const double a = simulatorCost(handler, codec::Op::GetRegister, std::move(one), iterations);
    const double b = simulatorCost(handler, codec::Op::GetRegisterRange, std::move(fifty), iterations);
    std::printf("simulator handling: register read %.2f us (%.1f%% of the TCP floor), "
                "50-register read %.2f us (%.1f%%)\n",
                a, 100.0 * a / roundTripUs, b, 100.0 * b / roundTripUs);
}

}  // namespace

// Every process of the run shares one processor, so a round trip costs context switches on
// that processor rather than wake-ups across processors, whose cost on a virtual machine
// varies with where the scheduler happens to put each process.
void pinToOneProcessor() {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    if (::sched_setaffinity(0, sizeof one, &one) != 0) std::perror("sched_setaffinity");
}

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    pinToOneProcessor();
    const int iterations = quick ? 2000 : 20000;
    test::SimProcess sim({"--tcp", "0", "--udp", "0", "--pty"});
    std::printf("link round trips, %d each, all processes on one processor; ratios to a floor "
                "measured in this run\n", iterations);
    bool ok = true;
    for (const char* link : {"tcp", "udp", "pty"}) ok &= benchLink(link, sim, iterations);
    EchoPeer echo(EchoPeer::Kind::Tcp);
    benchSimulator(iterations, measure(iterations, [&] { echo.ping(kRequestBytes); }).median_us);
    if (!ok) std::fprintf(stderr, "some calls failed during the measurement\n");
    return ok ? 0 : 1;
}
