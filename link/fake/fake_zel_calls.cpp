// Each call logs itself, takes its scripted result and, on success, moves data to or from the
// fake controller memory.
#include "link/fake/fake_zel_library.h"

namespace zel {

int32_t FakeZelLibrary::ZlOpenConnection(LinkKind kind, int32_t param1, int32_t param2) {
    return answer(ZelCall::OpenConnection, {static_cast<int32_t>(kind), param1, param2});
}

int32_t FakeZelLibrary::ZlOpenNetConnection(LinkKind kind, int32_t reserved, int32_t address,
                                            int32_t& timeoutMs) {
    return answer(ZelCall::OpenNetConnection,
                  {static_cast<int32_t>(kind), reserved, address, timeoutMs});
}

int32_t FakeZelLibrary::ZlInitConnection(int32_t handle, int32_t baud, int32_t parity,
                                         int32_t dataBits, int32_t stopBits) {
    return answer(ZelCall::InitConnection, {handle, baud, parity, dataBits, stopBits});
}

int32_t FakeZelLibrary::ZlSetConnectionTimeout(int32_t handle, int32_t timeoutMs) {
    return answer(ZelCall::SetConnectionTimeout, {handle, timeoutMs});
}

int32_t FakeZelLibrary::ZlCloseConnection(int32_t handle) {
    return answer(ZelCall::CloseConnection, {handle});
}

int32_t FakeZelLibrary::ZlGetAvailableAdaptersIPList(AdapterList& addresses, AdapterList& netmasks,
                                                     int32_t& count) {
    addresses.fill(0);
    netmasks.fill(0);
    count = 0;
    return answer(ZelCall::GetAvailableAdaptersIPList, {});
}

int32_t FakeZelLibrary::ZlSetAdapter(int32_t index) {
    return answer(ZelCall::SetAdapter, {index});
}

int32_t FakeZelLibrary::ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) {
    const int32_t result = answer(ZelCall::GetErrorInfo, {handle});
    if (result == 1) info = error_;
    return result;
}

int32_t FakeZelLibrary::ZlGetRegister(int32_t handle, int32_t number, int32_t& value) {
    const int32_t result = answer(ZelCall::GetRegister, {handle, number});
    if (result == 1) value = registers_.value(number);
    return result;
}

int32_t FakeZelLibrary::ZlPutRegister(int32_t handle, int32_t number, int32_t value) {
    const int32_t result = answer(ZelCall::PutRegister, {handle, number, value});
    if (result == 1) registers_[number] = value;
    return result;
}

int32_t FakeZelLibrary::ZlGetRegister16(int32_t handle, int32_t first,
                                        std::array<int32_t, 16>& values) {
    const int32_t result = answer(ZelCall::GetRegister16, {handle, first});
    if (result != 1) return result;
    for (int i = 0; i < 16; ++i) values[i] = registers_.value(first + i);
    return result;
}

int32_t FakeZelLibrary::ZlGetRegister50(int32_t handle, int32_t block,
                                        std::array<int32_t, 50>& values) {
    const int32_t result = answer(ZelCall::GetRegister50, {handle, block});
    if (result != 1) return result;
    for (int i = 0; i < 50; ++i) values[i] = registers_.value(50 * (block - 1) + 1 + i);
    return result;
}

int32_t FakeZelLibrary::ZlGetVRegister(int32_t handle, VRegister& record) {
    const int32_t result = answer(ZelCall::GetVRegister, {handle, record.number});
    if (result == 1) record.value = vRegisters_.value(record.number);
    return result;
}

int32_t FakeZelLibrary::ZlSetVRegister(int32_t handle, VRegister& record) {
    const int32_t result =
        answer(ZelCall::SetVRegister, {handle, record.number}, QString::number(record.value));
    if (result == 1) vRegisters_[record.number] = record.value;
    return result;
}

int32_t FakeZelLibrary::ZlPutFlag(int32_t handle, int32_t flag, int16_t value) {
    return answer(ZelCall::PutFlag, {handle, flag, value});
}

int32_t FakeZelLibrary::ZlGetStatus(int32_t handle, int32_t& status) {
    const int32_t result = answer(ZelCall::GetStatus, {handle});
    if (result == 1) status = status_;
    return result;
}

int32_t FakeZelLibrary::ZlPutStatus(int32_t handle, int32_t status) {
    const int32_t result = answer(ZelCall::PutStatus, {handle, status});
    if (result == 1) status_ = status;
    return result;
}

int32_t FakeZelLibrary::ZlGetModel(int32_t handle, int32_t& model, int32_t& second) {
    const int32_t result = answer(ZelCall::GetModel, {handle});
    if (result == 1) model = model_, second = modelSecond_;
    return result;
}

int32_t FakeZelLibrary::ZlGetConfig(int32_t handle, int32_t& config) {
    const int32_t result = answer(ZelCall::GetConfig, {handle});
    if (result == 1) config = config_;
    return result;
}

int32_t FakeZelLibrary::ZlPutConfig(int32_t handle, int32_t config) {
    const int32_t result = answer(ZelCall::PutConfig, {handle, config});
    if (result == 1) config_ = config;
    return result;
}

int32_t FakeZelLibrary::ZlGetIoCount(int32_t handle, std::array<int32_t, 7>& counts) {
    const int32_t result = answer(ZelCall::GetIoCount, {handle});
    if (result == 1) counts = ioCounts_;
    return result;
}

int32_t FakeZelLibrary::ZlGetMiscIoCount(int32_t handle, std::array<int32_t, 4>& counts) {
    const int32_t result = answer(ZelCall::GetMiscIoCount, {handle});
    if (result == 1) counts = miscCounts_;
    return result;
}

int32_t FakeZelLibrary::ZlGetTaskBank(int32_t handle, int32_t bank, TaskBank& buffer) {
    const int32_t result = answer(ZelCall::GetTaskBank, {handle, bank});
    if (result == 1) buffer = taskBanks_.value(bank, TaskBank{});
    return result;
}

int32_t FakeZelLibrary::ZlGetDataTableDim(int32_t handle, int32_t& rows, int32_t& columns) {
    const int32_t result = answer(ZelCall::GetDataTableDim, {handle});
    if (result == 1) rows = tableDim_[0], columns = tableDim_[1];
    return result;
}

int32_t FakeZelLibrary::ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                                          QVector<int32_t>& values) {
    const int32_t result = answer(ZelCall::GetDataTableRow, {handle, row, first, last});
    if (result != 1) return result;
    values.clear();
    for (int32_t column = first; column <= last; ++column)
        values << tableCells_.value(row).value(column);
    return result;
}

int32_t FakeZelLibrary::ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                                          const QVector<int16_t>& values) {
    // The 16-bit words sent close the entry, "[1 -25536 0]", so tests see the pattern itself.
    QStringList words;
    for (int16_t value : values) words << QString::number(value);
    const int32_t result = answer(ZelCall::PutDataTableRow, {handle, row, first, last},
                                  u'[' + words.join(u' ') + u']');
    if (result != 1) return result;
    for (int32_t column = first; column <= last && column - first < values.size(); ++column)
        tableCells_[row][column] = static_cast<uint16_t>(values[column - first]);
    return result;
}

int32_t FakeZelLibrary::ZlDownload(int32_t handle, const QString& path, TransferResult& result) {
    result = {};
    return answer(ZelCall::Download, {handle}, path);
}

int32_t FakeZelLibrary::ZlUpload(int32_t handle, const QString& path, TransferResult& result) {
    result = {};
    return answer(ZelCall::Upload, {handle}, path);
}

int32_t FakeZelLibrary::ZlSendData(int32_t handle, int32_t kind, const QByteArray& request,
                                   int16_t length, QByteArray& reply) {
    const int32_t result = answer(ZelCall::SendData, {handle, kind, length}, request.toHex(' '));
    if (result == 1) reply = sendDataReply_;
    return result;
}

int32_t FakeZelLibrary::ZlSendAscii(int32_t handle, const QByteArray& text, int32_t length,
                                    QByteArray& reply, int32_t endByte) {
    reply.clear();
    return answer(ZelCall::SendAscii, {handle, length, endByte}, QString::fromLatin1(text));
}

}  // namespace zel
