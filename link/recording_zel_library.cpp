#include "link/recording_zel_library.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>

namespace zel {

RecordingZelLibrary::RecordingZelLibrary(ZelLibrary& library, std::size_t ringSize)
    : library_(library), ring_(ringSize) {}

template <typename Run>
int32_t RecordingZelLibrary::call(TrafficCall call, int32_t handle,
                                  std::initializer_list<int32_t> arguments, Registers registers,
                                  Success success, Run&& run) {
    if (!recording_.load(std::memory_order_relaxed)) return run();
    TrafficEntry entry;
    entry.startMs = QDateTime::currentMSecsSinceEpoch();
    QElapsedTimer timer;
    timer.start();
    entry.result = run();
    entry.durationNs = timer.nsecsElapsed();
    entry.call = call;
    entry.argumentCount =
        static_cast<uint8_t>(std::min(arguments.size(), entry.arguments.size()));
    std::copy_n(arguments.begin(), entry.argumentCount, entry.arguments.begin());
    entry.firstRegister = registers.first;
    entry.lastRegister = registers.last;
    record(entry, handle, success);
    return entry.result;
}

// The library keeps its last error per thread, so it is fetched here, on the calling thread,
// before anything else can replace it.
void RecordingZelLibrary::record(TrafficEntry& entry, int32_t handle, Success success) {
    entry.failed = success == Success::One ? entry.result != 1 : entry.result <= 0;
    if (entry.failed && entry.call != TrafficCall::GetErrorInfo) {
        LibErrorRecord error;
        if (library_.ZlGetErrorInfo(handle, error) == 1) {
            entry.errorCode = error.code;
            entry.errorText = error.text.trimmed();
        }
    }
    ring_.push(std::move(entry));
}

namespace {
constexpr int32_t kRegisterBlockSize = 50;
}  // namespace

using C = TrafficCall;

int32_t RecordingZelLibrary::ZlOpenConnection(LinkKind kind, int32_t param1, int32_t param2) {
    return call(C::OpenConnection, 0, {static_cast<int32_t>(kind), param1, param2}, {},
                Success::Handle, [&] { return library_.ZlOpenConnection(kind, param1, param2); });
}

int32_t RecordingZelLibrary::ZlOpenNetConnection(LinkKind kind, int32_t reserved,
                                                 int32_t address, int32_t& timeoutMs) {
    return call(C::OpenNetConnection, 0, {static_cast<int32_t>(kind), reserved, address, timeoutMs},
                {}, Success::Handle,
                [&] { return library_.ZlOpenNetConnection(kind, reserved, address, timeoutMs); });
}

int32_t RecordingZelLibrary::ZlInitConnection(int32_t handle, int32_t baud, int32_t parity,
                                              int32_t dataBits, int32_t stopBits) {
    return call(C::InitConnection, handle, {handle, baud, parity, dataBits, stopBits}, {},
                Success::One,
                [&] { return library_.ZlInitConnection(handle, baud, parity, dataBits, stopBits); });
}

int32_t RecordingZelLibrary::ZlSetConnectionTimeout(int32_t handle, int32_t timeoutMs) {
    return call(C::SetConnectionTimeout, handle, {handle, timeoutMs}, {}, Success::One,
                [&] { return library_.ZlSetConnectionTimeout(handle, timeoutMs); });
}

int32_t RecordingZelLibrary::ZlCloseConnection(int32_t handle) {
    return call(C::CloseConnection, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlCloseConnection(handle); });
}

int32_t RecordingZelLibrary::ZlGetAvailableAdaptersIPList(AdapterList& addresses,
                                                          AdapterList& netmasks, int32_t& count) {
    return call(C::GetAvailableAdaptersIPList, 0, {}, {}, Success::One, [&] {
        return library_.ZlGetAvailableAdaptersIPList(addresses, netmasks, count);
    });
}

int32_t RecordingZelLibrary::ZlSetAdapter(int32_t index) {
    return call(C::SetAdapter, 0, {index}, {}, Success::One,
                [&] { return library_.ZlSetAdapter(index); });
}

int32_t RecordingZelLibrary::ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) {
    return call(C::GetErrorInfo, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlGetErrorInfo(handle, info); });
}

int32_t RecordingZelLibrary::ZlGetRegister(int32_t handle, int32_t number, int32_t& value) {
    return call(C::GetRegister, handle, {handle, number}, {number, number}, Success::One,
                [&] { return library_.ZlGetRegister(handle, number, value); });
}

int32_t RecordingZelLibrary::ZlPutRegister(int32_t handle, int32_t number, int32_t value) {
    return call(C::PutRegister, handle, {handle, number, value}, {number, number}, Success::One,
                [&] { return library_.ZlPutRegister(handle, number, value); });
}

int32_t RecordingZelLibrary::ZlGetRegister16(int32_t handle, int32_t first,
                                             std::array<int32_t, 16>& values) {
    return call(C::GetRegister16, handle, {handle, first}, {first, first + 15}, Success::One,
                [&] { return library_.ZlGetRegister16(handle, first, values); });
}

// Block n holds registers 50(n-1)+1 to 50n.
int32_t RecordingZelLibrary::ZlGetRegister50(int32_t handle, int32_t block,
                                             std::array<int32_t, 50>& values) {
    const int32_t first = kRegisterBlockSize * (block - 1) + 1;
    return call(C::GetRegister50, handle, {handle, block}, {first, first + kRegisterBlockSize - 1},
                Success::One, [&] { return library_.ZlGetRegister50(handle, block, values); });
}

int32_t RecordingZelLibrary::ZlGetVRegister(int32_t handle, VRegister& record) {
    const int32_t number = record.number;
    return call(C::GetVRegister, handle, {handle, number}, {number, number}, Success::One,
                [&] { return library_.ZlGetVRegister(handle, record); });
}

int32_t RecordingZelLibrary::ZlSetVRegister(int32_t handle, VRegister& record) {
    const int32_t number = record.number;
    return call(C::SetVRegister, handle, {handle, number}, {number, number}, Success::One,
                [&] { return library_.ZlSetVRegister(handle, record); });
}

int32_t RecordingZelLibrary::ZlPutFlag(int32_t handle, int32_t flag, int16_t value) {
    return call(C::PutFlag, handle, {handle, flag, value}, {}, Success::One,
                [&] { return library_.ZlPutFlag(handle, flag, value); });
}

int32_t RecordingZelLibrary::ZlGetStatus(int32_t handle, int32_t& status) {
    return call(C::GetStatus, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlGetStatus(handle, status); });
}

int32_t RecordingZelLibrary::ZlPutStatus(int32_t handle, int32_t status) {
    return call(C::PutStatus, handle, {handle, status}, {}, Success::One,
                [&] { return library_.ZlPutStatus(handle, status); });
}

int32_t RecordingZelLibrary::ZlGetModel(int32_t handle, int32_t& model, int32_t& second) {
    return call(C::GetModel, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlGetModel(handle, model, second); });
}

int32_t RecordingZelLibrary::ZlGetConfig(int32_t handle, int32_t& config) {
    return call(C::GetConfig, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlGetConfig(handle, config); });
}

int32_t RecordingZelLibrary::ZlPutConfig(int32_t handle, int32_t config) {
    return call(C::PutConfig, handle, {handle, config}, {}, Success::One,
                [&] { return library_.ZlPutConfig(handle, config); });
}

int32_t RecordingZelLibrary::ZlGetIoCount(int32_t handle, std::array<int32_t, 7>& counts) {
    return call(C::GetIoCount, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlGetIoCount(handle, counts); });
}

int32_t RecordingZelLibrary::ZlGetMiscIoCount(int32_t handle, std::array<int32_t, 4>& counts) {
    return call(C::GetMiscIoCount, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlGetMiscIoCount(handle, counts); });
}

int32_t RecordingZelLibrary::ZlGetTaskBank(int32_t handle, int32_t bank, TaskBank& buffer) {
    return call(C::GetTaskBank, handle, {handle, bank}, {}, Success::One,
                [&] { return library_.ZlGetTaskBank(handle, bank, buffer); });
}

int32_t RecordingZelLibrary::ZlGetDataTableDim(int32_t handle, int32_t& rows, int32_t& columns) {
    return call(C::GetDataTableDim, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlGetDataTableDim(handle, rows, columns); });
}

int32_t RecordingZelLibrary::ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first,
                                               int32_t last, QVector<int32_t>& values) {
    return call(C::GetDataTableRow, handle, {handle, row, first, last}, {}, Success::One,
                [&] { return library_.ZlGetDataTableRow(handle, row, first, last, values); });
}

int32_t RecordingZelLibrary::ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first,
                                               int32_t last, const QVector<int16_t>& values) {
    return call(C::PutDataTableRow, handle, {handle, row, first, last}, {}, Success::One,
                [&] { return library_.ZlPutDataTableRow(handle, row, first, last, values); });
}

int32_t RecordingZelLibrary::ZlDownload(int32_t handle, const QString& path,
                                        TransferResult& result) {
    return call(C::Download, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlDownload(handle, path, result); });
}

int32_t RecordingZelLibrary::ZlUpload(int32_t handle, const QString& path, TransferResult& result) {
    return call(C::Upload, handle, {handle}, {}, Success::One,
                [&] { return library_.ZlUpload(handle, path, result); });
}

int32_t RecordingZelLibrary::ZlSendData(int32_t handle, int32_t kind, const QByteArray& request,
                                        int16_t length, QByteArray& reply) {
    return call(C::SendData, handle, {handle, kind, length}, {}, Success::One,
                [&] { return library_.ZlSendData(handle, kind, request, length, reply); });
}

int32_t RecordingZelLibrary::ZlSendAscii(int32_t handle, const QByteArray& text, int32_t length,
                                         QByteArray& reply, int32_t endByte) {
    return call(C::SendAscii, handle, {handle, length, endByte}, {}, Success::One,
                [&] { return library_.ZlSendAscii(handle, text, length, reply, endByte); });
}

}  // namespace zel
