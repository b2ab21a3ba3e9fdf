// How long the monitor's window thread keeps an event waiting while it runs on its own: the main
// window with its model and its timers, polling and reconnecting as it does for a user. A probe
// event is posted every 10 ms; the wait of each until it is handled is one sample. Per state,
// the p50, p99 and longest wait, and the p99 as a ratio to 50 ms, goal <= 1.00 (p99 <= 50 ms):
//  - a serial line where nothing answers (a pseudo-terminal whose other end stays silent);
//  - TCP on loopback to a simulator that stopped answering after the monitor connected;
//  - TCP through a relay that hands the simulator's replies on a byte at a time, 2 ms apart;
//  - the simulator on a serial line;
// the last two with every window of the main window open. The profiles are the first-run ones
// but for the link, so the monitor polls once a second. A state lasts until the event loop
// gets to quitting after its span, so a long-blocked loop is measured for longer.
//
//   zelbench_latency [--quick]     (2.5 s a state with --quick, else 10 s)
#include <pty.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stop_token>
#include <thread>
#include <vector>

#include "app/frm_main.h"
#include "app/main_window_model.h"
#include "app/status_log.h"
#include "common/app_state.h"
#include "link/dynamic_zel_library.h"
#include "link/link_thread_library.h"
#include "settings/first_run.h"
#include "stats.h"
#include "tests/support/sim_process.h"
#include "timed_monitor.h"
#include "trickle_relay.h"

using namespace zel;
using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kProbeInterval = 10ms;
constexpr double kGoalMs = 50;
// The monitor's own default, for a profile that names none.
constexpr int kTimeoutMs = 300;
// The serial port the profiles name and the variable that says which device it is.
constexpr int kSerialPort = 1;
constexpr char kSerialDeviceVariable[] = "ZELCOM_COMM1";

// The library the monitor's model calls, made as app/application.cpp makes the program's: the
// loaded library behind the link thread.
class MonitorLibrary {
public:
    ZelLibrary& forModel() { return link_; }

private:
    DynamicZelLibrary real_{{QStringLiteral(ZELCOM_LIBRARY_FILE)}};
    LinkThreadLibrary link_{real_};
};

// The main window with its model, wired as the program wires them and loaded from `profile`;
// the load ends with the first connection attempt and leaves the monitor's timers running.
struct Monitor {
    explicit Monitor(const QString& profile)
        : store(profile), log(profile + QStringLiteral(".log")),
          model(state, store, library.forModel(), log, window) {
        store.load(settings::firstRunSettings());
        window.attach(model);
        model.load({}, false);
        window.show();
    }
    bool connected() const { return !state.flags.NoCommunication; }

    MonitorLibrary library;
    AppState state;
    settings::SettingsStore store;
    StatusLog log;
    frmMain window;
    MainWindowModel model;
};

// Posts a probe event to the window thread every interval from a thread of its own, stamped
// with when it was posted, and notes how long each waited. A timer on the window thread would
// fire once, late, after a blocked stretch and stand for all of it; posted probes weigh each
// stretch by its length, as a user's input meets it.
class LatencyProbe : public QObject {
public:
    LatencyProbe() : poster_([this](std::stop_token stop) { post(stop); }) {}

    // Stops posting; the waits of the probes handled so far, in ms.
    std::vector<double> stop() {
        poster_.request_stop();
        poster_.join();
        return std::move(waitsMs_);
    }

    bool event(QEvent* e) override {
        if (e->type() != probeType()) return QObject::event(e);
        const auto wait = Clock::now() - static_cast<Probe*>(e)->postedAt;
        waitsMs_.push_back(std::chrono::duration<double, std::milli>(wait).count());
        return true;
    }

private:
    struct Probe : QEvent {
        Probe() : QEvent(probeType()) {}
        Clock::time_point postedAt = Clock::now();
    };
    static QEvent::Type probeType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    void post(const std::stop_token& stop) {
        for (auto next = Clock::now() + kProbeInterval; !stop.stop_requested();
             next += kProbeInterval) {
            std::this_thread::sleep_until(next);
            QCoreApplication::postEvent(this, new Probe);
        }
    }

    std::vector<double> waitsMs_;
    std::jthread poster_;  // last: it posts to the members above
};

// The waits while the window thread runs its event loop for `span`.
std::vector<double> waitsWhileRunning(std::chrono::milliseconds span) {
    LatencyProbe probe;
    QEventLoop loop;
    QTimer::singleShot(span, &loop, [&loop] { loop.quit(); });
    loop.exec();
    return probe.stop();
}

// "event loop, <what>: p50 ..., p99 ..., max ... | ratio ..., goal <= 1.00 ..."
void report(const char* what, std::vector<double> waitsMs) {
    if (waitsMs.empty()) {
        std::printf("event loop, %s: no probe was handled\n", what);
        return;
    }
    std::sort(waitsMs.begin(), waitsMs.end());
    const double p99 = bench::percentileOf(waitsMs, 99);
    std::printf(
        "event loop, %s: a 10 ms probe waits p50 %.1f ms, p99 %.1f ms, max %.1f ms over %zu "
        "probes; p99 vs %.0f ms | ",
        what, bench::percentileOf(waitsMs, 50), p99, waitsMs.back(), waitsMs.size(), kGoalMs);
    bench::printRatio(p99 / kGoalMs, 1.0);
}

// On standard output, where the figure would have been: the monitor's log fills standard error.
bool notConnected(const char* what, const Monitor& monitor) {
    std::printf("event loop, %s: the monitor did not connect: %s\n", what,
                qPrintable(monitor.model.message()));
    return false;
}

// A pseudo-terminal whose other end is held open and never read or written.
bool silentSerialLine(const QString& dir, std::chrono::milliseconds span) {
    int master = -1, slave = -1;
    char device[128] = {};
    if (::openpty(&master, &slave, device, nullptr, nullptr) != 0) {
        std::printf("event loop, serial line where nothing answers: no pseudo-terminal: %s\n",
                    std::strerror(errno));
        return false;
    }
    ::close(slave);
    qputenv(kSerialDeviceVariable, device);
    const QString profile = dir + QStringLiteral("/silent_serial.ini");
    bench::writeSerialProfile(profile, kSerialPort, kTimeoutMs);
    std::vector<double> waits;
    {
        Monitor monitor(profile);
        waits = waitsWhileRunning(span);
    }
    ::close(master);
    report("serial line where nothing answers", std::move(waits));
    return true;
}

// The simulator stops (SIGSTOP) once the monitor is connected: its socket stays open and silent.
bool silentTcp(const QString& dir, std::chrono::milliseconds span) {
    const char* what = "TCP on loopback, simulator stopped after connecting";
    test::SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"});
    qputenv("ZELCOM_TCP_PORT", QByteArray::number(sim.tcpPort()));
    const QString profile = dir + QStringLiteral("/silent_tcp.ini");
    bench::writeSimulatorProfile(profile, kTimeoutMs);
    Monitor monitor(profile);
    if (!monitor.connected()) return notConnected(what, monitor);
    sim.pause();
    std::vector<double> waits = waitsWhileRunning(span);
    sim.terminate();  // resumes it first
    report(what, std::move(waits));
    return true;
}

bool tricklingTcp(const QString& dir, std::chrono::milliseconds span) {
    const char* what = "TCP on loopback, replies a byte every 2 ms, every window open";
    test::SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--tcp", "0"});
    bench::TrickleRelay relay(sim.tcpPort(), 2ms);
    qputenv("ZELCOM_TCP_PORT", QByteArray::number(relay.port()));
    const QString profile = dir + QStringLiteral("/trickling_tcp.ini");
    bench::writeSimulatorProfile(profile, kTimeoutMs);
    Monitor monitor(profile);
    if (!monitor.connected()) return notConnected(what, monitor);
    // With the main window alone a tick reads one register a second; the windows make the
    // traffic a user's monitor has.
    bench::openEveryWindow(monitor.window);
    report(what, waitsWhileRunning(span));
    return true;
}

bool liveSerialEveryWindow(const QString& dir, std::chrono::milliseconds span) {
    const char* what = "simulator on a serial line, every window open";
    test::SimProcess sim({"--scenario", ZELSIM_DEMO_SCENARIO, "--pty"});
    qputenv(kSerialDeviceVariable, QByteArray::fromStdString(sim.ptyPath()));
    const QString profile = dir + QStringLiteral("/live_serial.ini");
    bench::writeSerialProfile(profile, kSerialPort, kTimeoutMs);
    Monitor monitor(profile);
    if (!monitor.connected()) return notConnected(what, monitor);
    bench::openEveryWindow(monitor.window);
    report(what, waitsWhileRunning(span));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::chrono::milliseconds span = quick ? 2500ms : 10s;
    bool ok = true;
    try {
        for (auto* state : {silentSerialLine, silentTcp, tricklingTcp, liveSerialEveryWindow})
            ok = state(dir.path(), span) && ok;
    } catch (const std::exception& e) {  // the simulator or the relay could not start
        std::printf("event loop: %s\n", e.what());
        return 1;
    }
    return ok ? 0 : 1;
}
