#include "tests/support/sim_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <stdexcept>

namespace zel::test {

std::string SimProcess::binaryPath() {
    return ZELSIM_BINARY;
}

SimProcess::SimProcess(std::vector<std::string> args, std::chrono::milliseconds readyTimeout)
    : args_(std::move(args)), readyTimeout_(readyTimeout) {
    start();
}

SimProcess::~SimProcess() {
    kill();
}

void SimProcess::start() {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) < 0) throw std::runtime_error("SimProcess: pipe failed");
    std::vector<char*> argv;
    const std::string path = binaryPath();
    argv.push_back(const_cast<char*>(path.c_str()));
    for (auto& a : args_) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("SimProcess: fork failed");
    if (pid_ == 0) {
        // A test that crashes must not leave its simulator behind: it would hold the test
        // runner's output open until the runner gave up on the test.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(out[1], STDOUT_FILENO);
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    stdoutFd_ = out[0];
    try {
        readUntilReady(stdoutFd_);
    } catch (...) {
        kill();
        throw;
    }
}

void SimProcess::readUntilReady(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + readyTimeout_;
    std::string text;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) == 0)
            throw std::runtime_error("zelsim did not print \"ready\" within " +
                                     std::to_string(readyTimeout_.count()) +
                                     " ms; it printed: " + text);
        char buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("zelsim exited before \"ready\"; it printed: " + text);
        text.append(buffer, static_cast<size_t>(n));
        size_t end;
        while ((end = text.find('\n')) != std::string::npos) {
            const std::string line = text.substr(0, end);
            text.erase(0, end + 1);
            if (line == "ready") return;
            parseLine(line);
        }
    }
}

void SimProcess::parseLine(const std::string& line) {
    std::istringstream in(line);
    std::string kind, address;
    in >> kind;
    if (kind == "tcp")
        in >> address >> tcpPort_;
    else if (kind == "udp")
        in >> address >> udpPort_;
    else if (kind == "pty")
        in >> ptyPath_;
}

void SimProcess::pause() {
    if (pid_ > 0) ::kill(pid_, SIGSTOP);
}

void SimProcess::resume() {
    if (pid_ > 0) ::kill(pid_, SIGCONT);
}

void SimProcess::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (stdoutFd_ >= 0) ::close(stdoutFd_);
    stdoutFd_ = -1;
}

int SimProcess::terminate() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGCONT);
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    kill();
    return status;
}

// Replaces "0" port arguments by the ports zelsim picked, so a restart listens where the
// clients already point.
void SimProcess::pinPorts() {
    for (size_t i = 0; i + 1 < args_.size(); ++i) {
        if (args_[i] == "--tcp" && tcpPort_) args_[i + 1] = std::to_string(tcpPort_);
        if (args_[i] == "--udp" && udpPort_) args_[i + 1] = std::to_string(udpPort_);
    }
}

void SimProcess::restart() {
    kill();
    pinPorts();
    start();
}

namespace {

uint16_t freePort(int type) {
    const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof sa;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        throw std::runtime_error("no free port on loopback");
    ::close(fd);
    return ntohs(sa.sin_port);
}

}  // namespace

uint16_t freeUdpPort() {
    return freePort(SOCK_DGRAM);
}

uint16_t freeTcpPort() {
    return freePort(SOCK_STREAM);
}

}  // namespace zel::test
