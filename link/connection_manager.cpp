#include "link/connection_manager.h"

#include <algorithm>

#include "common/number_text.h"
#include "link/connection_caption.h"
#include "link/host_resolution.h"
#include "link/lib_error.h"
#include "link/link_claim.h"
#include "link/link_session.h"
#include "link/model_class.h"

namespace zel {
namespace {

// Serial line setup: no parity, 8 data bits, one stop bit.
constexpr int32_t kNoParity = 0;
constexpr int32_t kDataBits = 8;
constexpr int32_t kOneStopBit = 0;
constexpr int kRetryIntervalMs = 100;
constexpr int kAdapterSettleMs = 100;
constexpr int32_t kMinPollingMs = 10;
constexpr int32_t kMaxPollingMs = 32000;

// The rates tried, in order, when the stored one does not reach the controller. 56800 is the
// value the setup dialog offers and stores, so it is passed as it stands.
constexpr std::array<int32_t, 5> kSearchRates = {9600, 19200, 38400, 56800, 115200};

}  // namespace

ConnectionManager::ConnectionManager(AppState& state, ZelLibrary& library, ConnectionUi& ui)
    : state_(state), library_(library), ui_(ui) {}

CommCheck ConnectionManager::CheckComm() {
    if (attempting_ || !linkFree(state_)) return CommCheck::Busy;
    attempting_ = true;
    const CommCheck outcome = attempt();
    attempting_ = false;
    return outcome;
}

CommCheck ConnectionManager::attempt() {
    if (!closePrevious()) return reportFailure();
    if (state_.flags.UserSuspended) return CommCheck::Suspended;
    state_.connection.OpenedCommType = state_.settings.CommType;
    if (!openByKind()) return reportFailure();
    bool connected = ConfigZLComm();
    state_.settings.AutoBaudSearch = true;
    if (!connected && isSerialCommType(state_.connection.OpenedCommType))
        connected = searchBaudRate();
    state_.connection.Connected = connected;
    if (!connected) return reportFailure();
    reportSuccess();
    return CommCheck::Connected;
}

void ConnectionManager::resolveHost() {
    resolveControllerHost(state_.settings);
}

QString ConnectionManager::startupCaption() {
    const int32_t kind = state_.settings.CommType;
    if (kind == kCommUdp || kind == kCommTcp) resolveHost();
    return startupConnectionCaption(state_.settings);
}

bool ConnectionManager::ConfigZLComm() {
    const bool configured = readControllerDescription();
    state_.connection.LinkConfigured = configured;
    return configured;
}

bool ConnectionManager::readControllerDescription() {
    ConnectionState& c = state_.connection;
    int32_t second = c.EATypeController ? 1 : 0;
    const int32_t modelResult = library_.ZlGetModel(c.CommHandle, c.ModelCode, second);
    c.EATypeController = second != 0;
    if (!succeeded(modelResult)) return false;
    std::array<int32_t, 7> counts{};
    if (!succeeded(library_.ZlGetIoCount(c.CommHandle, counts))) return false;
    c.Counts.setMain(counts);
    c.TaskCount = taskCountForModel(c.ModelCode);
    if (!hasControllerWords(c.ModelCode)) return true;
    std::array<int32_t, 4> misc{};
    if (library_.ZlGetMiscIoCount(c.CommHandle, misc) == 1) c.Counts.setMisc(misc);
    library_.ZlGetStatus(c.CommHandle, c.ControllerStatusBits);
    library_.ZlGetConfig(c.CommHandle, c.InputConfigBits);
    return true;
}

// A previous connection that refuses to close ends the attempt.
bool ConnectionManager::closePrevious() {
    return closeLink(state_, library_) || failedCall();
}

bool ConnectionManager::openByKind() {
    const int32_t kind = state_.connection.OpenedCommType;
    if (kind == kCommZelNet) return openZelNet();
    if (kind == kCommUdp) return openUdp();
    if (kind == kCommTcp) return openTcp();
    if (isSerialCommType(kind)) return openSerial();
    return failedWithoutCall(QStringLiteral("No such connection kind: %1").arg(kind));
}

// The adapter list is asked for only to wake the network layer; its contents are not used.
bool ConnectionManager::openZelNet() {
    const ConnectionSettings& s = state_.settings;
    AdapterList addresses{};
    AdapterList netmasks{};
    int32_t count = 0;
    library_.ZlGetAvailableAdaptersIPList(addresses, netmasks, count);
    ui_.processEvents();
    library_.ZlSetAdapter(s.AdapterIndex);
    ui_.repaintMain();
    ui_.processEvents();
    ui_.pause(kAdapterSettleMs);
    if (!opened(library_.ZlOpenConnection(LinkKind::ZelNet, s.HostNode, s.TargetNode)))
        return false;
    const int32_t handle = state_.connection.CommHandle;
    library_.ZlSetConnectionTimeout(handle, s.CommTimeout);
    int32_t value = 0;
    if (succeeded(library_.ZlGetRegister(handle, 1, value))) return true;
    closeLink(state_, library_);
    return false;
}

bool ConnectionManager::openUdp() {
    const ConnectionSettings& s = state_.settings;
    const std::optional<int32_t> address = controllerAddress();
    if (!address) return false;
    if (!opened(library_.ZlOpenConnection(LinkKind::Udp, 0, *address))) return false;
    library_.ZlSetConnectionTimeout(state_.connection.CommHandle, s.CommTimeout);
    return true;
}

bool ConnectionManager::openTcp() {
    ConnectionSettings& s = state_.settings;
    const std::optional<int32_t> address = controllerAddress();
    if (!address) return false;
    if (!opened(library_.ZlOpenNetConnection(LinkKind::Tcp, 0, *address, s.CommTimeout)))
        return false;
    state_.connection.FailedConnections = 0;
    library_.ZlSetConnectionTimeout(state_.connection.CommHandle, s.CommTimeout);
    return true;
}

// An address the host name did not resolve to, or one that cannot be read, fails here: the
// library would only be handed an address no controller has.
std::optional<int32_t> ConnectionManager::controllerAddress() {
    const ConnectionSettings& s = state_.settings;
    const QString dotted = trimBlanks(s.ControllerIP);
    if (dotted.isEmpty()) {
        failedWithoutCall(QStringLiteral("Cannot resolve host name: ") +
                          trimBlanks(s.ControllerHost));
        return std::nullopt;
    }
    const std::optional<int32_t> address = dottedToAddress(dotted);
    if (!address) failedWithoutCall(QStringLiteral("Not an IPv4 address: ") + dotted);
    return address;
}

// A stored rate the line cannot take fails here, before any search.
bool ConnectionManager::openSerial() {
    const ConnectionSettings& s = state_.settings;
    const int32_t port = serialPortOf(state_.connection.OpenedCommType);
    if (!opened(library_.ZlOpenConnection(LinkKind::Serial, port, 0))) return false;
    const int32_t handle = state_.connection.CommHandle;
    if (!succeeded(
            library_.ZlInitConnection(handle, s.BaudRate, kNoParity, kDataBits, kOneStopBit)))
        return false;
    library_.ZlSetConnectionTimeout(handle, s.CommTimeout);
    return true;
}

// Tries the standard rates until the controller answers; a rate the line rejects is skipped.
bool ConnectionManager::searchBaudRate() {
    bool found = false;
    for (int32_t rate : kSearchRates) {
        if (found) break;
        ui_.processEvents();
        const int32_t handle = state_.connection.CommHandle;
        if (!succeeded(library_.ZlInitConnection(handle, rate, kNoParity, kDataBits, kOneStopBit)))
            continue;
        library_.ZlSetConnectionTimeout(handle, state_.settings.CommTimeout);
        found = ConfigZLComm();
        if (found) state_.settings.BaudRate = rate;
    }
    ui_.processEvents();
    return found;
}

void ConnectionManager::reportSuccess() {
    const QString text = connectedText(state_.settings, state_.connection.OpenedCommType);
    ui_.setStatus(text);
    ui_.refreshMessage();
    const QString caption = captionFromConnectedText(text);
    state_.connection.ConnectionCaption = caption;
    ui_.setMainTitle(kMainWindowTitle + caption);
    ui_.setDdeMessage(text);
    ui_.connectionCaptionChanged(caption);
    int32_t& interval = state_.dde.UpdateInterval;
    interval = std::clamp(interval, kMinPollingMs, kMaxPollingMs);
    ui_.setPollingInterval(interval);
    linkWorks(state_);
    armStartTimer();
}

// The first failure after start-up stays silent; later ones are counted in the status line
// with the reason taken when the attempt failed. While the setup dialog asks for a
// reconnection the failure is neither reported nor closed: its own attempt follows.
CommCheck ConnectionManager::reportFailure() {
    ConnectionState& c = state_.connection;
    if (!state_.flags.ReconnectPending) {
        if (c.ConnectFailedBefore) {
            ++c.FailedConnections;
            ui_.setStatus("(" + strNumber(c.FailedConnections) +
                          " ) Failed to make connection, please configure - " + " " +
                          state_.LibError.text);
            ui_.refreshMessage();
        }
        closeLink(state_, library_);
        c.ConnectFailedBefore = true;
    }
    ui_.setPollingInterval(kRetryIntervalMs);
    for (int i = 0; i < 2; ++i) {
        ui_.processEvents();
        ui_.repaintMain();
    }
    armStartTimer();
    return CommCheck::Failed;
}

bool ConnectionManager::opened(int32_t handle) {
    linkOpened(state_, handle);
    return handle > 0 || failedCall();
}

bool ConnectionManager::succeeded(int32_t result) {
    return result == 1 || failedCall();
}

// The reason is taken at once: a later call (a clean-up close, a call on a dead handle) would
// replace it.
bool ConnectionManager::failedCall() {
    fetchLibError(library_, state_);
    return false;
}

bool ConnectionManager::failedWithoutCall(const QString& reason) {
    state_.LibError = monitorError(reason);
    return false;
}

void ConnectionManager::armStartTimer() {
    if (state_.flags.SetupOpen) return;
    state_.flags.StartPollingPending = true;
    ui_.enableStartTimer();
}

}  // namespace zel
