// The running simulator: the controller, its world and its endpoints on one event loop.
// The controller advances on a timer of the loop; replies wait in a queue for their due time,
// and a paced pty wakes the loop when its bytes are due.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "animation.h"
#include "controller.h"
#include "dispatcher.h"
#include "link_faults.h"
#include "options.h"
#include "poller.h"
#include "program_store.h"
#include "pty_endpoint.h"
#include "reply_queue.h"
#include "request_handler.h"
#include "scenario.h"
#include "socket_util.h"
#include "tcp_endpoint.h"
#include "udp_endpoint.h"

namespace zel::sim {

inline constexpr int kTickMs = 20;

class Server {
public:
    // Opens every endpoint the options ask for; throws std::system_error or ScenarioError.
    Server(const Options& options, const Scenario& scenario, const std::string& scenarioName);
    ~Server();

    // One line per endpoint, as announced on standard output.
    std::vector<std::string> endpointLines() const;
    // Serves until SIGTERM or SIGINT arrives.
    void run();

private:
    void openEndpoints(const Options& options);
    void watchSignals();

    std::unique_ptr<Controller> controller_;
    ProgramStore store_;
    RequestHandler handler_;
    LinkFaults faults_;
    ReplyQueue queue_;
    Poller poller_;
    Dispatcher dispatcher_;
    Animator animator_;
    std::string bind_;
    std::unique_ptr<TcpEndpoint> tcp_;
    std::unique_ptr<UdpEndpoint> udp_;
    std::unique_ptr<UdpEndpoint> zelnet_;
    uint16_t zelnetNode_ = 0;
    std::unique_ptr<PtyEndpoint> pty_;
    UniqueFd signals_;
    int speed_;
    bool stopping_ = false;
};

// Port of ZelNET node 0: the option, else $ZELCOM_ZELNET_PORT, else the protocol's default.
uint16_t zelnetBasePort(const Options& options);
int64_t steadyMs();
// Announces the endpoints and "ready" on standard output, then serves; returns the exit code.
int runSimulator(const Options& options, const Scenario& scenario, const std::string& name);

}  // namespace zel::sim
