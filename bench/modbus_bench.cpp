// The library's register reads side by side with libmodbus, a widely used library for another
// register protocol, each client against its own server, and with raw ping-pongs on the same
// links, all measured in the same run.
//
//   zelbench_modbus [--quick] [--split]
//
// Every client runs on one processor together with its server, so a round trip costs context
// switches there rather than wake-ups across processors; --split puts the servers on a second
// processor instead. Five rounds, the trips interleaved within each; each figure is the median
// of the rounds' medians, each ratio the median of the rounds' ratios. Goals: a register read at
// most 1.15 times the raw ping-pong of its link, at least 10 % ahead of libmodbus (a ratio of at
// most 0.90) for one read and for a block read of the same bytes, and a 50-register read at most
// 1.05 times a single one.
#include <arpa/inet.h>
#include <modbus/modbus.h>
#include <netinet/tcp.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "echo_peer.h"
#include "frame.h"
#include "loopback.h"
#include "stats.h"
#include "tests/support/sim_process.h"
#include "zelcom.h"

using namespace zel;
using zel::bench::EchoPeer;

namespace {

// A register read of ours on the wire, either way: header, one 32-bit word, CRC.
constexpr size_t kRequestBytes = codec::kHeaderSize + 4 + codec::kTrailerSize;
// 100 16-bit registers carry the 200 bytes of fifty 32-bit ones.
constexpr int kModbusBlock = 100;
constexpr int kRounds = 5;

void pinTo(int processor) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(processor, &one);
    if (::sched_setaffinity(0, sizeof one, &one) != 0) std::perror("sched_setaffinity");
}

// A libmodbus server in a child process, answering from its register map on the one
// connection it accepts until that closes.
class ModbusServer {
public:
    ModbusServer() {
        const int listener = bench::boundLoopbackSocket(SOCK_STREAM, port_);
        if (::listen(listener, 1) != 0) throw std::runtime_error("modbus server: cannot listen");
        pid_ = ::fork();
        if (pid_ == 0) serve(listener);
        ::close(listener);
    }
    ~ModbusServer() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    ModbusServer(const ModbusServer&) = delete;
    ModbusServer& operator=(const ModbusServer&) = delete;

    uint16_t port() const { return port_; }

private:
    [[noreturn]] static void serve(int listener) {
        const int fd = ::accept(listener, nullptr, nullptr);
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        modbus_t* ctx = modbus_new_tcp("127.0.0.1", 0);
        modbus_mapping_t* registers = modbus_mapping_new(0, 0, kModbusBlock, 0);
        if (!ctx || !registers) ::_exit(1);
        modbus_set_socket(ctx, fd);
        uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
        for (;;) {
            const int n = modbus_receive(ctx, query);
            if (n < 0) ::_exit(0);
            if (n > 0) modbus_reply(ctx, query, n, registers);
        }
    }

    uint16_t port_ = 0;
    pid_t pid_ = -1;
};

class ModbusClient {
public:
    explicit ModbusClient(uint16_t port) : ctx_(modbus_new_tcp("127.0.0.1", port)) {
        if (!ctx_ || modbus_connect(ctx_) != 0)
            throw std::runtime_error("libmodbus client: cannot connect");
        modbus_set_response_timeout(ctx_, 2, 0);
    }
    ~ModbusClient() {
        modbus_close(ctx_);
        modbus_free(ctx_);
    }
    ModbusClient(const ModbusClient&) = delete;
    ModbusClient& operator=(const ModbusClient&) = delete;

    bool read(int count) { return modbus_read_registers(ctx_, 0, count, registers_) == count; }

private:
    modbus_t* ctx_;
    uint16_t registers_[kModbusBlock];
};

enum Trip { TcpFloor, ModbusOne, ZlOne, ModbusBlock, ZlBlock, UdpFloor, ZlUdpOne, kTrips };

struct Comparison {
    const char* link;
    Trip work;
    Trip floor;
    double goal;  // 0: shown, not judged
};

const char* nameOf(Trip trip) {
    switch (trip) {
        case TcpFloor:
        case UdpFloor:
            return "raw ping-pong";
        case ModbusOne:
            return "libmodbus read of 2 registers";
        case ModbusBlock:
            return "libmodbus read of 100 registers";
        case ZlOne:
        case ZlUdpOne:
            return "ZlGetRegister";
        case ZlBlock:
            return "ZlGetRegister50";
        default:
            return "";
    }
}

int32_t openTcp(const test::SimProcess& sim) {
    ::setenv("ZELCOM_TCP_PORT", std::to_string(sim.tcpPort()).c_str(), 1);
    int32_t timeout = 2000;
    return ZlOpenNetConnection(ZL_KIND_TCP, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)),
                               &timeout);
}

int32_t openUdp(const test::SimProcess& sim) {
    ::setenv("ZELCOM_UDP_PORT", std::to_string(sim.udpPort()).c_str(), 1);
    const int32_t h =
        ZlOpenConnection(ZL_KIND_UDP, 0, static_cast<int32_t>(htonl(INADDR_LOOPBACK)));
    if (h > 0) ZlSetConnectionTimeout(h, 2000);
    return h;
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false, split = false;
    for (int i = 1; i < argc; ++i) {
        quick = quick || std::strcmp(argv[i], "--quick") == 0;
        split = split || std::strcmp(argv[i], "--split") == 0;
    }
    const int iterations = quick ? 2000 : 10000;
    // The servers are forked or started while the process is pinned to their processor and keep
    // that pinning; then the clients move to theirs.
    const int clientProcessor = 0;
    pinTo(split ? 1 : clientProcessor);
    test::SimProcess sim({"--tcp", "0", "--udp", "0"});
    EchoPeer tcpEcho(EchoPeer::Kind::Tcp);
    EchoPeer udpEcho(EchoPeer::Kind::Udp);
    ModbusServer modbusServer;
    pinTo(clientProcessor);

    ModbusClient modbus(modbusServer.port());
    const int32_t tcp = openTcp(sim);
    const int32_t udp = openUdp(sim);
    if (tcp <= 0 || udp <= 0) {
        std::fprintf(stderr, "cannot open the links to the simulator\n");
        return 1;
    }
    bool ok = true;
    int32_t value = 0;
    int32_t block[50];
    std::vector<std::function<void()>> trips(kTrips);
    trips[TcpFloor] = [&] { tcpEcho.ping(kRequestBytes); };
    trips[ModbusOne] = [&] { ok &= modbus.read(2); };
    trips[ZlOne] = [&] { ok &= ZlGetRegister(tcp, 1, &value) == 1; };
    trips[ModbusBlock] = [&] { ok &= modbus.read(kModbusBlock); };
    trips[ZlBlock] = [&] { ok &= ZlGetRegister50(tcp, 1, block) == 1; };
    trips[UdpFloor] = [&] { udpEcho.ping(kRequestBytes); };
    trips[ZlUdpOne] = [&] { ok &= ZlGetRegister(udp, 1, &value) == 1; };

    std::vector<std::vector<double>> medians(kTrips);  // per trip, one a round
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<bench::Stats> stats = bench::measureInterleaved(iterations, trips);
        for (size_t k = 0; k < stats.size(); ++k) medians[k].push_back(stats[k].median_us);
    }
    ZlCloseConnection(tcp);
    ZlCloseConnection(udp);
    if (!ok) {
        std::fprintf(stderr, "some calls failed during the measurement\n");
        return 1;
    }

    std::printf("register reads side by side with libmodbus, %d rounds of %d each, %s; "
                "medians over the rounds\n",
                kRounds, iterations,
                split ? "clients on one processor, servers on another"
                      : "each client on one processor with its server");
    const auto spread = [&](Trip t) { return bench::spreadOf(medians[t]); };
    for (const Comparison& c : std::vector<Comparison>{{"tcp", ModbusOne, TcpFloor, 0},
                                                       {"tcp", ZlOne, TcpFloor, 1.15},
                                                       {"tcp", ZlOne, ModbusOne, 0.90},
                                                       {"tcp", ZlBlock, ModbusBlock, 0.90},
                                                       {"tcp", ZlBlock, ZlOne, 1.05},
                                                       {"udp", ZlUdpOne, UdpFloor, 1.15}}) {
        const bench::Spread work = spread(c.work), floor = spread(c.floor);
        std::vector<double> ratios;
        for (int r = 0; r < kRounds; ++r) ratios.push_back(medians[c.work][r] / medians[c.floor][r]);
        const bench::Spread ratio = bench::spreadOf(ratios);
        std::printf("%s %-31s %6.2f us (%.2f-%.2f) vs %-31s %6.2f us | ", c.link, nameOf(c.work),
                    work.median, work.min, work.max, nameOf(c.floor), floor.median);
        if (c.goal > 0)
            bench::printRatio(ratio, kRounds, c.goal);
        else
            std::printf("ratio %.2f (%.2f-%.2f), not judged\n", ratio.median, ratio.min, ratio.max);
    }
    return 0;
}
