#include "link/connection_manager.h"

#include "link/lib_error.h"

#include <algorithm>

#include "link/connection_caption.h"
#include "link/host_resolution.h"
#include "link/model_class.h"
#include "common/number_text.h"

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

int32_t usableHandle(int32_t handle) {
    return handle > 0 ? handle : 0;
}

}  // namespace

ConnectionManager::ConnectionManager(AppState& state, ZelLibrary& library, ConnectionUi& ui)
    : state_(state), library_(library), ui_(ui) {}

bool ConnectionManager::CheckComm() {
    if (!closePrevious()) return reportFailure();
    if (state_.flags.UserSuspended) return false;
    state_.connection.OpenedCommType = state_.settings.CommType;
    if (!openByKind()) return reportFailure();
    bool connected = ConfigZLComm();
    state_.settings.AutoBaudSearch = true;
    if (!connected && isSerialCommType(state_.connection.OpenedCommType))
        connected = searchBaudRate();
    state_.connection.Connected = connected;
    if (!connected) return reportFailure();
    reportSuccess();
    return false;
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
    if (modelResult != 1) return false;
    std::array<int32_t, 7> counts{};
    if (library_.ZlGetIoCount(c.CommHandle, counts) != 1) return false;
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
    int32_t& handle = state_.connection.CommHandle;
    if (handle == 0) return true;
    const int32_t result = library_.ZlCloseConnection(handle);
    handle = 0;
    return result != 0;
}

bool ConnectionManager::openByKind() {
    const int32_t kind = state_.connection.OpenedCommType;
    if (kind == kCommZelNet) return openZelNet();
    if (kind == kCommUdp) return openUdp();
    if (kind == kCommTcp) return openTcp();
    if (isSerialCommType(kind)) return openSerial();
    return false;
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
    int32_t& handle = state_.connection.CommHandle;
    handle = usableHandle(library_.ZlOpenConnection(ZL_KIND_ZELNET, s.HostNode, s.TargetNode));
    library_.ZlSetConnectionTimeout(handle, s.CommTimeout);
    int32_t value = 0;
    if (library_.ZlGetRegister(handle, 1, value) == 1) return true;
    closeQuietly();
    return false;
}

bool ConnectionManager::openUdp() {
    const ConnectionSettings& s = state_.settings;
    const int32_t address = dottedToAddress(trimBlanks(s.ControllerIP));
    int32_t& handle = state_.connection.CommHandle;
    handle = usableHandle(library_.ZlOpenConnection(ZL_KIND_UDP, 0, address));
    if (handle == 0) return false;
    library_.ZlSetConnectionTimeout(handle, s.CommTimeout);
    return true;
}

bool ConnectionManager::openTcp() {
    ConnectionSettings& s = state_.settings;
    const int32_t address = dottedToAddress(trimBlanks(s.ControllerIP));
    int32_t& handle = state_.connection.CommHandle;
    handle = usableHandle(library_.ZlOpenNetConnection(ZL_KIND_TCP, 0, address, s.CommTimeout));
    if (handle == 0) return false;
    state_.connection.FailedConnections = 0;
    library_.ZlSetConnectionTimeout(handle, s.CommTimeout);
    return true;
}

// A stored rate the line cannot take fails here, before any search.
bool ConnectionManager::openSerial() {
    const ConnectionSettings& s = state_.settings;
    const int32_t port = serialPortOf(state_.connection.OpenedCommType);
    int32_t& handle = state_.connection.CommHandle;
    handle = usableHandle(library_.ZlOpenConnection(ZL_KIND_SERIAL, port, 0));
    if (handle == 0) return false;
    if (library_.ZlInitConnection(handle, s.BaudRate, kNoParity, kDataBits, kOneStopBit) != 1)
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
        if (library_.ZlInitConnection(handle, rate, kNoParity, kDataBits, kOneStopBit) != 1)
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
    state_.flags.NoCommunication = false;
    armStartTimer();
}

// The first failure after start-up stays silent; later ones are counted in the status line
// with the last library error fetched. While the setup dialog asks for a reconnection the
// failure is neither reported nor closed: its own attempt follows.
bool ConnectionManager::reportFailure() {
    ConnectionState& c = state_.connection;
    if (!state_.flags.ReconnectPending) {
        if (c.ConnectFailedBefore) {
            // The reason shown is the failed call's own, fetched before anything else runs.
            fetchLibError(library_, state_);
            ++c.FailedConnections;
            ui_.setStatus("(" + strNumber(c.FailedConnections) +
                          " ) Failed to make connection, please configure - " + " " +
                          state_.LibError.text);
            ui_.refreshMessage();
        }
        closeQuietly();
        c.ConnectFailedBefore = true;
    }
    ui_.setPollingInterval(kRetryIntervalMs);
    for (int i = 0; i < 2; ++i) {
        ui_.processEvents();
        ui_.repaintMain();
    }
    armStartTimer();
    return true;
}

// Leaves no handle behind, so the next attempt does not stumble over closing a dead one.
void ConnectionManager::closeQuietly() {
    int32_t& handle = state_.connection.CommHandle;
    if (handle != 0) library_.ZlCloseConnection(handle);
    handle = 0;
}

void ConnectionManager::armStartTimer() {
    if (state_.flags.SetupOpen) return;
    state_.flags.StartPollingPending = true;
    ui_.enableStartTimer();
}

}  // namespace zel
