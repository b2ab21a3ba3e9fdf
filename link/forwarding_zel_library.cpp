#include "link/forwarding_zel_library.h"

namespace zel {

namespace {

// The inner call may run on another thread while events run on the caller's (see
// LinkThreadLibrary), so it works on copies of the caller's arguments: what an event handler
// reads or changes meanwhile is never touched from two threads, and results reach the caller's
// variables only once the call has returned, on the caller's thread.
template <typename T>
class Kept {
public:
    explicit Kept(T& caller) : caller_(caller), copy_(caller) {}
    ~Kept() { caller_ = copy_; }
    Kept(const Kept&) = delete;
    Kept& operator=(const Kept&) = delete;
    T& operator*() { return copy_; }

private:
    T& caller_;
    T copy_;
};

}  // namespace

int32_t ForwardingZelLibrary::pass(ZelCall, CallNumbers, InnerCall run) {
    return run();
}

using C = ZelCall;

int32_t ForwardingZelLibrary::ZlOpenConnection(LinkKind kind, int32_t param1, int32_t param2) {
    return forward(C::OpenConnection, {static_cast<int32_t>(kind), param1, param2},
                   [&] { return inner_.ZlOpenConnection(kind, param1, param2); });
}

int32_t ForwardingZelLibrary::ZlOpenNetConnection(LinkKind kind, int32_t reserved, int32_t address,
                                                  int32_t& timeoutMs) {
    Kept timeoutMsKept(timeoutMs);
    return forward(
        C::OpenNetConnection, {static_cast<int32_t>(kind), reserved, address, timeoutMs},
        [&] { return inner_.ZlOpenNetConnection(kind, reserved, address, *timeoutMsKept); });
}

int32_t ForwardingZelLibrary::ZlInitConnection(int32_t handle, int32_t baud, int32_t parity,
                                               int32_t dataBits, int32_t stopBits) {
    return forward(C::InitConnection, {handle, baud, parity, dataBits, stopBits}, [&] {
        return inner_.ZlInitConnection(handle, baud, parity, dataBits, stopBits);
    });
}

int32_t ForwardingZelLibrary::ZlSetConnectionTimeout(int32_t handle, int32_t timeoutMs) {
    return forward(C::SetConnectionTimeout, {handle, timeoutMs},
                   [&] { return inner_.ZlSetConnectionTimeout(handle, timeoutMs); });
}

int32_t ForwardingZelLibrary::ZlCloseConnection(int32_t handle) {
    return forward(C::CloseConnection, {handle}, [&] { return inner_.ZlCloseConnection(handle); });
}

int32_t ForwardingZelLibrary::ZlGetAvailableAdaptersIPList(AdapterList& addresses,
                                                           AdapterList& netmasks, int32_t& count) {
    Kept addressesKept(addresses);
    Kept netmasksKept(netmasks);
    Kept countKept(count);
    return forward(C::GetAvailableAdaptersIPList, {}, [&] {
        return inner_.ZlGetAvailableAdaptersIPList(*addressesKept, *netmasksKept, *countKept);
    });
}

int32_t ForwardingZelLibrary::ZlSetAdapter(int32_t index) {
    return forward(C::SetAdapter, {index}, [&] { return inner_.ZlSetAdapter(index); });
}

int32_t ForwardingZelLibrary::ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) {
    Kept infoKept(info);
    return forward(C::GetErrorInfo, {handle},
                   [&] { return inner_.ZlGetErrorInfo(handle, *infoKept); });
}

int32_t ForwardingZelLibrary::ZlGetRegister(int32_t handle, int32_t number, int32_t& value) {
    Kept valueKept(value);
    return forward(C::GetRegister, {handle, number},
                   [&] { return inner_.ZlGetRegister(handle, number, *valueKept); });
}

int32_t ForwardingZelLibrary::ZlPutRegister(int32_t handle, int32_t number, int32_t value) {
    return forward(C::PutRegister, {handle, number, value},
                   [&] { return inner_.ZlPutRegister(handle, number, value); });
}

int32_t ForwardingZelLibrary::ZlGetRegister16(int32_t handle, int32_t first,
                                              std::array<int32_t, 16>& values) {
    Kept valuesKept(values);
    return forward(C::GetRegister16, {handle, first},
                   [&] { return inner_.ZlGetRegister16(handle, first, *valuesKept); });
}

int32_t ForwardingZelLibrary::ZlGetRegister50(int32_t handle, int32_t block,
                                              std::array<int32_t, 50>& values) {
    Kept valuesKept(values);
    return forward(C::GetRegister50, {handle, block},
                   [&] { return inner_.ZlGetRegister50(handle, block, *valuesKept); });
}

int32_t ForwardingZelLibrary::ZlGetVRegister(int32_t handle, VRegister& record) {
    Kept recordKept(record);
    return forward(C::GetVRegister, {handle, record.number},
                   [&] { return inner_.ZlGetVRegister(handle, *recordKept); });
}

int32_t ForwardingZelLibrary::ZlSetVRegister(int32_t handle, VRegister& record) {
    Kept recordKept(record);
    return forward(C::SetVRegister, {handle, record.number},
                   [&] { return inner_.ZlSetVRegister(handle, *recordKept); });
}

int32_t ForwardingZelLibrary::ZlPutFlag(int32_t handle, int32_t flag, int16_t value) {
    return forward(C::PutFlag, {handle, flag, value},
                   [&] { return inner_.ZlPutFlag(handle, flag, value); });
}

int32_t ForwardingZelLibrary::ZlGetStatus(int32_t handle, int32_t& status) {
    Kept statusKept(status);
    return forward(C::GetStatus, {handle}, [&] { return inner_.ZlGetStatus(handle, *statusKept); });
}

int32_t ForwardingZelLibrary::ZlPutStatus(int32_t handle, int32_t status) {
    return forward(C::PutStatus, {handle, status},
                   [&] { return inner_.ZlPutStatus(handle, status); });
}

int32_t ForwardingZelLibrary::ZlGetModel(int32_t handle, int32_t& model, int32_t& second) {
    Kept modelKept(model);
    Kept secondKept(second);
    return forward(C::GetModel, {handle},
                   [&] { return inner_.ZlGetModel(handle, *modelKept, *secondKept); });
}

int32_t ForwardingZelLibrary::ZlGetConfig(int32_t handle, int32_t& config) {
    Kept configKept(config);
    return forward(C::GetConfig, {handle}, [&] { return inner_.ZlGetConfig(handle, *configKept); });
}

int32_t ForwardingZelLibrary::ZlPutConfig(int32_t handle, int32_t config) {
    return forward(C::PutConfig, {handle, config},
                   [&] { return inner_.ZlPutConfig(handle, config); });
}

int32_t ForwardingZelLibrary::ZlGetIoCount(int32_t handle, std::array<int32_t, 7>& counts) {
    Kept countsKept(counts);
    return forward(C::GetIoCount, {handle},
                   [&] { return inner_.ZlGetIoCount(handle, *countsKept); });
}

int32_t ForwardingZelLibrary::ZlGetMiscIoCount(int32_t handle, std::array<int32_t, 4>& counts) {
    Kept countsKept(counts);
    return forward(C::GetMiscIoCount, {handle},
                   [&] { return inner_.ZlGetMiscIoCount(handle, *countsKept); });
}

int32_t ForwardingZelLibrary::ZlGetTaskBank(int32_t handle, int32_t bank, TaskBank& buffer) {
    Kept bufferKept(buffer);
    return forward(C::GetTaskBank, {handle, bank},
                   [&] { return inner_.ZlGetTaskBank(handle, bank, *bufferKept); });
}

int32_t ForwardingZelLibrary::ZlGetDataTableDim(int32_t handle, int32_t& rows, int32_t& columns) {
    Kept rowsKept(rows);
    Kept columnsKept(columns);
    return forward(C::GetDataTableDim, {handle},
                   [&] { return inner_.ZlGetDataTableDim(handle, *rowsKept, *columnsKept); });
}

int32_t ForwardingZelLibrary::ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first,
                                                int32_t last, QVector<int32_t>& values) {
    Kept valuesKept(values);
    return forward(C::GetDataTableRow, {handle, row, first, last},
                   [&] { return inner_.ZlGetDataTableRow(handle, row, first, last, *valuesKept); });
}

int32_t ForwardingZelLibrary::ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first,
                                                int32_t last, const QVector<int16_t>& values) {
    const QVector<int16_t> valuesCopy = values;
    return forward(C::PutDataTableRow, {handle, row, first, last},
                   [&] { return inner_.ZlPutDataTableRow(handle, row, first, last, valuesCopy); });
}

int32_t ForwardingZelLibrary::ZlDownload(int32_t handle, const QString& path,
                                         TransferResult& result) {
    const QString pathCopy = path;
    Kept resultKept(result);
    return forward(C::Download, {handle},
                   [&] { return inner_.ZlDownload(handle, pathCopy, *resultKept); });
}

int32_t ForwardingZelLibrary::ZlUpload(int32_t handle, const QString& path,
                                       TransferResult& result) {
    const QString pathCopy = path;
    Kept resultKept(result);
    return forward(C::Upload, {handle},
                   [&] { return inner_.ZlUpload(handle, pathCopy, *resultKept); });
}

int32_t ForwardingZelLibrary::ZlSendData(int32_t handle, int32_t kind, const QByteArray& request,
                                         int16_t length, QByteArray& reply) {
    const QByteArray requestCopy = request;
    Kept replyKept(reply);
    return forward(C::SendData, {handle, kind, length}, [&] {
        return inner_.ZlSendData(handle, kind, requestCopy, length, *replyKept);
    });
}

int32_t ForwardingZelLibrary::ZlSendAscii(int32_t handle, const QByteArray& text, int32_t length,
                                          QByteArray& reply, int32_t endByte) {
    const QByteArray textCopy = text;
    Kept replyKept(reply);
    return forward(C::SendAscii, {handle, length, endByte}, [&] {
        return inner_.ZlSendAscii(handle, textCopy, length, *replyKept, endByte);
    });
}

}  // namespace zel
