// SimProcess: runs the zelsim binary as a child process for tests.
//
//   zel::test::SimProcess sim({"--tcp", "0", "--udp", "0"});   // starts, waits for "ready"
//   connect to 127.0.0.1:sim.tcpPort() ...
//   sim.pause();    // SIGSTOP: the controller stops answering, sockets stay open
//   sim.resume();   // SIGCONT
//   sim.restart();  // kill, then start again on the same TCP/UDP/ZelNET ports
//
// The constructor throws std::runtime_error when zelsim exits or does not print "ready" within
// the timeout; the message holds what it printed. The destructor kills and reaps the process.
// Ports given as 0 are picked by zelsim; restart() asks for the ports it got the first time.
// The pty path changes on restart unless a link path was given with --pty LINK.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace zel::test {

class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args,
                        std::chrono::milliseconds readyTimeout = std::chrono::seconds(10));
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Endpoints as announced by zelsim; 0 or empty when that endpoint was not asked for.
    uint16_t tcpPort() const { return tcpPort_; }
    uint16_t udpPort() const { return udpPort_; }
    const std::string& ptyPath() const { return ptyPath_; }
    pid_t pid() const { return pid_; }

    void pause();    // SIGSTOP
    void resume();   // SIGCONT
    void kill();     // SIGKILL and reap; a no-op when not running
    void restart();  // kill, then start with the same arguments and ports
    // SIGTERM and wait; returns the exit status as waitpid reports it, -1 if not running.
    int terminate();

    // The path of the zelsim binary the tests use.
    static std::string binaryPath();

private:
    void start();
    void readUntilReady(int fd);
    void parseLine(const std::string& line);
    void pinPorts();

    std::vector<std::string> args_;
    std::chrono::milliseconds readyTimeout_;
    pid_t pid_ = -1;
    int stdoutFd_ = -1;
    uint16_t tcpPort_ = 0;
    uint16_t udpPort_ = 0;
    std::string ptyPath_;
};

// A UDP port on loopback that was free a moment ago, for a ZelNET base: node n of a base b
// listens on b + n.
uint16_t freeUdpPort();
// A TCP port on loopback that nothing listened on a moment ago: a connection to it is refused.
uint16_t freeTcpPort();

}  // namespace zel::test
