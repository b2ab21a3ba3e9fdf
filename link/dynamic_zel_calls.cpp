// Forwarding of each call to the loaded entry point; without a loaded file every call fails.
#include <QFile>
#include <algorithm>
#include <vector>

#include "link/dynamic_zel_library.h"
#include "link/lib_error.h"
#include "link/zel_symbols.h"

namespace zel {
namespace {

static_assert(static_cast<int32_t>(LinkKind::Serial) == ZL_KIND_SERIAL);
static_assert(static_cast<int32_t>(LinkKind::ZelNet) == ZL_KIND_ZELNET);
static_assert(static_cast<int32_t>(LinkKind::Udp) == ZL_KIND_UDP);
static_assert(static_cast<int32_t>(LinkKind::Tcp) == ZL_KIND_TCP);
static_assert(kMaxAdapters == ZL_MAX_ADAPTERS);
static_assert(kLibErrorTextLength == ZL_ERROR_TEXT_LENGTH);
static_assert(kErrorNotPresent == ZL_ERR_NOT_PRESENT);

// The library's V-register record names the value's kind and format: a 16-byte field holding
// a double.
constexpr int32_t kVRegisterKind = 16;
constexpr int32_t kVRegisterFormat = 6;

ZlVRegister libraryRecord(const VRegister& record) {
    ZlVRegister raw{};
    raw.number = record.number;
    raw.kind = kVRegisterKind;
    raw.format = kVRegisterFormat;
    raw.value = record.value;
    return raw;
}

TaskBank fromLibrary(const ZlTaskBank& raw) {
    TaskBank bank{raw.stopped, raw.fault_code, raw.fault_step, raw.fault_datum, {}, {}, {}};
    std::copy(std::begin(raw.steps), std::end(raw.steps), bank.steps.begin());
    std::copy(std::begin(raw.low_keys), std::end(raw.low_keys), bank.lowKeys.begin());
    std::copy(std::begin(raw.high_keys), std::end(raw.high_keys), bank.highKeys.begin());
    return bank;
}

TransferResult fromLibrary(const ZlTransferResult& raw) {
    return {raw.checksum, raw.bytes, raw.errors, raw.warnings};
}

// Wider than any data table the protocol can carry, small enough never to strain memory
// whatever range a caller passes.
constexpr int64_t kMaxColumnRange = 65536;

int64_t columnCount(int32_t first, int32_t last) {
    const int64_t count = int64_t{last} - first + 1;
    return std::clamp<int64_t>(count, 1, kMaxColumnRange);
}

}  // namespace

int32_t DynamicZelLibrary::ZlOpenConnection(LinkKind kind, int32_t param1, int32_t param2) {
    return isLoaded() ? symbols_->ZlOpenConnection(static_cast<int32_t>(kind), param1, param2) : 0;
}

int32_t DynamicZelLibrary::ZlOpenNetConnection(LinkKind kind, int32_t reserved, int32_t address,
                                               int32_t& timeoutMs) {
    if (!isLoaded()) return 0;
    return symbols_->ZlOpenNetConnection(static_cast<int32_t>(kind), reserved, address, &timeoutMs);
}

int32_t DynamicZelLibrary::ZlInitConnection(int32_t handle, int32_t baud, int32_t parity,
                                            int32_t dataBits, int32_t stopBits) {
    return isLoaded() ? symbols_->ZlInitConnection(handle, baud, parity, dataBits, stopBits) : 0;
}

int32_t DynamicZelLibrary::ZlSetConnectionTimeout(int32_t handle, int32_t timeoutMs) {
    return isLoaded() ? symbols_->ZlSetConnectionTimeout(handle, timeoutMs) : 0;
}

int32_t DynamicZelLibrary::ZlCloseConnection(int32_t handle) {
    return isLoaded() ? symbols_->ZlCloseConnection(handle) : 0;
}

int32_t DynamicZelLibrary::ZlGetAvailableAdaptersIPList(AdapterList& addresses,
                                                        AdapterList& netmasks, int32_t& count) {
    if (!isLoaded()) return 0;
    return symbols_->ZlGetAvailableAdaptersIPList(addresses.data(), netmasks.data(), &count);
}

int32_t DynamicZelLibrary::ZlSetAdapter(int32_t index) {
    return isLoaded() ? symbols_->ZlSetAdapter(index) : 0;
}

// The record keeps its previous contents when the fetch itself fails.
int32_t DynamicZelLibrary::ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) {
    if (!isLoaded()) {
        info = notLoadedRecord();
        return 1;
    }
    ZlErrorInfo raw{};
    const int32_t result = symbols_->ZlGetErrorInfo(handle, &raw);
    if (result == 1) info = {raw.code, QString::fromLatin1(raw.text, ZL_ERROR_TEXT_LENGTH)};
    return result;
}

int32_t DynamicZelLibrary::ZlGetRegister(int32_t handle, int32_t number, int32_t& value) {
    return isLoaded() ? symbols_->ZlGetRegister(handle, number, &value) : 0;
}

int32_t DynamicZelLibrary::ZlPutRegister(int32_t handle, int32_t number, int32_t value) {
    return isLoaded() ? symbols_->ZlPutRegister(handle, number, value) : 0;
}

int32_t DynamicZelLibrary::ZlGetRegister16(int32_t handle, int32_t first,
                                           std::array<int32_t, 16>& values) {
    return isLoaded() ? symbols_->ZlGetRegister16(handle, first, values.data()) : 0;
}

int32_t DynamicZelLibrary::ZlGetRegister50(int32_t handle, int32_t block,
                                           std::array<int32_t, 50>& values) {
    return isLoaded() ? symbols_->ZlGetRegister50(handle, block, values.data()) : 0;
}

int32_t DynamicZelLibrary::ZlGetVRegister(int32_t handle, VRegister& record) {
    if (!isLoaded()) return 0;
    ZlVRegister raw = libraryRecord(record);
    const int32_t result = symbols_->ZlGetVRegister(handle, &raw);
    if (result == 1) record.value = raw.value;
    return result;
}

int32_t DynamicZelLibrary::ZlSetVRegister(int32_t handle, VRegister& record) {
    if (!isLoaded()) return 0;
    ZlVRegister raw = libraryRecord(record);
    return symbols_->ZlSetVRegister(handle, &raw);
}

int32_t DynamicZelLibrary::ZlPutFlag(int32_t handle, int32_t flag, int16_t value) {
    return isLoaded() ? symbols_->ZlPutFlag(handle, flag, value) : 0;
}

int32_t DynamicZelLibrary::ZlGetStatus(int32_t handle, int32_t& status) {
    return isLoaded() ? symbols_->ZlGetStatus(handle, &status) : 0;
}

int32_t DynamicZelLibrary::ZlPutStatus(int32_t handle, int32_t status) {
    return isLoaded() ? symbols_->ZlPutStatus(handle, status) : 0;
}

int32_t DynamicZelLibrary::ZlGetModel(int32_t handle, int32_t& model, int32_t& second) {
    return isLoaded() ? symbols_->ZlGetModel(handle, &model, &second) : 0;
}

int32_t DynamicZelLibrary::ZlGetConfig(int32_t handle, int32_t& config) {
    return isLoaded() ? symbols_->ZlGetConfig(handle, &config) : 0;
}

int32_t DynamicZelLibrary::ZlPutConfig(int32_t handle, int32_t config) {
    return isLoaded() ? symbols_->ZlPutConfig(handle, config) : 0;
}

int32_t DynamicZelLibrary::ZlGetIoCount(int32_t handle, std::array<int32_t, 7>& counts) {
    return isLoaded() ? symbols_->ZlGetIoCount(handle, counts.data()) : 0;
}

int32_t DynamicZelLibrary::ZlGetMiscIoCount(int32_t handle, std::array<int32_t, 4>& counts) {
    return isLoaded() ? symbols_->ZlGetMiscIoCount(handle, counts.data()) : 0;
}

int32_t DynamicZelLibrary::ZlGetTaskBank(int32_t handle, int32_t bank, TaskBank& buffer) {
    if (!isLoaded()) return 0;
    ZlTaskBank raw{};
    const int32_t result = symbols_->ZlGetTaskBank(handle, bank, &raw);
    if (result == 1) buffer = fromLibrary(raw);
    return result;
}

int32_t DynamicZelLibrary::ZlGetDataTableDim(int32_t handle, int32_t& rows, int32_t& columns) {
    return isLoaded() ? symbols_->ZlGetDataTableDim(handle, &rows, &columns) : 0;
}

int32_t DynamicZelLibrary::ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first,
                                             int32_t last, QVector<int32_t>& values) {
    if (!isLoaded()) return 0;
    values.fill(0, columnCount(first, last));
    return symbols_->ZlGetDataTableRow(handle, row, first, last, values.data());
}

int32_t DynamicZelLibrary::ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first,
                                             int32_t last, const QVector<int16_t>& values) {
    if (!isLoaded()) return 0;
    std::vector<int16_t> buffer(static_cast<size_t>(columnCount(first, last)), 0);
    std::copy_n(values.begin(), std::min<size_t>(buffer.size(), values.size()), buffer.begin());
    return symbols_->ZlPutDataTableRow(handle, row, first, last, buffer.data());
}

int32_t DynamicZelLibrary::ZlDownload(int32_t handle, const QString& path, TransferResult& result) {
    if (!isLoaded()) return 0;
    ZlTransferResult raw{};
    const int32_t outcome = symbols_->ZlDownload(handle, QFile::encodeName(path).constData(), &raw);
    result = fromLibrary(raw);
    return outcome;
}

int32_t DynamicZelLibrary::ZlUpload(int32_t handle, const QString& path, TransferResult& result) {
    if (!isLoaded()) return 0;
    ZlTransferResult raw{};
    const int32_t outcome = symbols_->ZlUpload(handle, QFile::encodeName(path).constData(), &raw);
    result = fromLibrary(raw);
    return outcome;
}

int32_t DynamicZelLibrary::ZlSendData(int32_t handle, int32_t kind, const QByteArray& request,
                                      int16_t length, QByteArray& reply) {
    if (!isLoaded()) return 0;
    const auto sent = static_cast<int16_t>(std::min<qsizetype>(length, request.size()));
    reply.fill('\0', ZL_SEND_DATA_REPLY_SIZE);
    return symbols_->ZlSendData(handle, kind, request.constData(), sent, reply.data());
}

int32_t DynamicZelLibrary::ZlSendAscii(int32_t handle, const QByteArray& text, int32_t length,
                                       QByteArray& reply, int32_t endByte) {
    if (!isLoaded()) return 0;
    const auto sent = static_cast<int32_t>(std::min<qsizetype>(length, text.size()));
    reply.fill('\0', ZL_SEND_ASCII_REPLY_SIZE);
    const int32_t count = symbols_->ZlSendAscii(handle, text.constData(), sent, reply.data(), endByte);
    // The reply may hold NULs of its own, so its length is the count, not the first NUL.
    reply.truncate(std::max(count, 0));
    return count;
}

}  // namespace zel
