#include "server.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <system_error>

#include "protocol.h"

namespace zel::sim {

int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

uint16_t zelnetBasePort(const Options& options) {
    if (options.zelnetBase) return *options.zelnetBase;
    if (const char* env = std::getenv("ZELCOM_ZELNET_PORT")) {
        const long v = std::strtol(env, nullptr, 10);
        if (v > 0 && v < 65536) return static_cast<uint16_t>(v);
    }
    return codec::kDefaultZelnetBase;
}

Server::Server(const Options& options, const Scenario& scenario, const std::string& scenarioName)
    : controller_(buildController(scenario, scenarioName)),
      store_(*controller_),
      handler_(*controller_, store_),
      faults_(mergeLinkFaults(scenario.linkFaults, options)),
      dispatcher_(handler_, faults_, queue_, steadyMs),
      animator_(scenario.animations),
      bind_(options.bind),
      speed_(options.speed) {
    if (options.bootModel) controller_->acceptModelCode(*options.bootModel);
    watchSignals();
    openEndpoints(options);
}

Server::~Server() {
    poller_.remove(signals_.get());
}

void Server::watchSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) < 0)
        throw std::system_error(errno, std::generic_category(), "sigprocmask");
    signals_.reset(::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC));
    if (signals_.get() < 0) throw std::system_error(errno, std::generic_category(), "signalfd");
    ::signal(SIGPIPE, SIG_IGN);
    poller_.add(signals_.get(), POLLIN, [this](short) { stopping_ = true; });
}

void Server::openEndpoints(const Options& o) {
    const bool none = !o.tcpPort && !o.udpPort && !o.pty && !o.zelnetNode;
    if (o.tcpPort || none)
        tcp_ = std::make_unique<TcpEndpoint>(poller_, dispatcher_, bind_,
                                             o.tcpPort.value_or(codec::kDefaultTcpPort));
    if (o.udpPort)
        udp_ = std::make_unique<UdpEndpoint>(poller_, dispatcher_, bind_, *o.udpPort, std::nullopt);
    if (o.zelnetNode) {
        const int port = zelnetBasePort(o) + *o.zelnetNode;
        if (port > 65535)
            throw std::system_error(ERANGE, std::generic_category(),
                                    "ZelNET port " + std::to_string(port));
        zelnetNode_ = *o.zelnetNode;
        zelnet_ = std::make_unique<UdpEndpoint>(poller_, dispatcher_, bind_,
                                                static_cast<uint16_t>(port), zelnetNode_);
    }
    if (o.pty)
        pty_ = std::make_unique<PtyEndpoint>(poller_, dispatcher_, o.ptyLink, bootSettings(o),
                                             linePacing(o));
}

std::vector<std::string> Server::endpointLines() const {
    std::vector<std::string> lines;
    if (tcp_) lines.push_back("tcp " + bind_ + " " + std::to_string(tcp_->port()));
    if (udp_) lines.push_back("udp " + bind_ + " " + std::to_string(udp_->port()));
    if (pty_) lines.push_back("pty " + pty_->slavePath());
    if (zelnet_)
        lines.push_back("zelnet " + std::to_string(zelnetNode_) + " " + bind_ + " " +
                        std::to_string(zelnet_->port()));
    return lines;
}

// The controller's clock runs `speed_` times as fast from the start. The program keeps its timing
// whatever the tick (the engine takes every transition that fell due); the tick comes more often
// too, so the animated inputs move in steps a poll can see, but at most every 5 ms, so the loop
// never spins.
void Server::run() {
    const int64_t start = steadyMs();
    const int64_t tickMs = std::max<int64_t>(kTickMs / speed_, kTickMs / 4);
    int64_t nextTick = start;
    while (!stopping_) {
        int64_t now = steadyMs();
        if (now >= nextTick) {
            const int64_t controllerNow = start + (now - start) * speed_;
            controller_->advance(controllerNow);
            animator_.advance(controllerNow, *controller_);
            nextTick = now + tickMs;
        }
        queue_.deliverDue(now);
        int64_t wake = std::min(nextTick, queue_.nextDue().value_or(nextTick));
        if (pty_) wake = std::min(wake, pty_->nextDueMs().value_or(wake));
        poller_.runOnce(static_cast<int>(std::max<int64_t>(wake - now, 0)));
        queue_.deliverDue(steadyMs());
        if (pty_) pty_->runDue();
    }
}

int runSimulator(const Options& options, const Scenario& scenario, const std::string& name) {
    for (const std::string& w : programWarnings(scenario.program))
        std::cerr << "zelsim: " << name << ": program: warning: " << w << "\n";
    try {
        Server server(options, scenario, name);
        for (const std::string& line : server.endpointLines()) std::cout << line << "\n";
        std::cout << "ready" << std::endl;
        server.run();
        return 0;
    } catch (const ScenarioError& e) {
        std::cerr << "zelsim: " << e.what() << "\n";
        return 2;
    } catch (const std::system_error& e) {
        std::cerr << "zelsim: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace zel::sim
