// The C entry points: argument checks, the handle table, and the body layout of each request.
#include <arpa/inet.h>

#include <cstring>

#include "connection_table.h"
#include "last_error.h"
#include "net_address.h"
#include "program_transfer.h"
#include "transports.h"
#include "wire.h"
#include "zelcom.h"

using namespace zel;
using namespace zel::com;

namespace {

int32_t fail(Status status) {
    setLastError(status);
    return 0;
}

// A success clears the record, so it never offers an old reason for a later failure.
int32_t succeed(int32_t result = 1) {
    setLastError(Status::success());
    return result;
}

int32_t finish(const Status& status) {
    return status.ok() ? succeed() : fail(status);
}

// Runs body with the handle's connection held exclusively; its status becomes the result.
template <typename Body>
int32_t withConnection(int32_t handle, Body&& body) {
    std::shared_ptr<Connection> connection = findConnection(handle);
    if (!connection) return fail(failure(ZL_ERR_BAD_HANDLE, "handle " + std::to_string(handle)));
    std::lock_guard lock(connection->mutex());
    return finish(body(*connection));
}

Status badArgument(const char* what) {
    return failure(ZL_ERR_BAD_ARGUMENT, what);
}
Status badReply(const char* what) {
    return failure(ZL_ERR_BAD_REPLY, what);
}

// Sends the request whose body was written into c.body() and decodes its reply with read, which
// must consume the whole body.
template <typename Read>
Status exchange(Connection& c, codec::Op op, Read&& read) {
    std::span<const uint8_t> reply;
    if (Status s = c.request(op, reply); !s.ok()) return s;
    codec::ByteReader r(reply);
    read(r);
    return r.done() ? Status::success() : badReply("reply does not match the request");
}

Status exchange(Connection& c, codec::Op op) {
    return exchange(c, op, [](codec::ByteReader&) {});
}

// A reply of count words, copied into out only when it holds exactly that many.
Status readWords(Connection& c, codec::Op op, int32_t* out, int count) {
    const std::span<int32_t> words(out, static_cast<size_t>(count));
    return exchange(c, op, [&](codec::ByteReader& r) {
        if (r.remaining() == words.size_bytes()) r.i32s(words);
    });
}

Status writeWord(Connection& c, codec::Op op, int32_t value) {
    c.body().i32(value);
    return exchange(c, op);
}

int32_t getWords(int32_t handle, codec::Op op, int32_t* out, int count) {
    if (!out) return fail(badArgument("null result"));
    return withConnection(handle, [&](Connection& c) { return readWords(c, op, out, count); });
}

// A reply of two words, each into an out-parameter of its own; neither is written on a failure.
int32_t getWordPair(int32_t handle, codec::Op op, int32_t* first, int32_t* second,
                    const char* nullMessage) {
    if (!first || !second) return fail(badArgument(nullMessage));
    return withConnection(handle, [&](Connection& c) {
        int32_t words[2];
        Status s = readWords(c, op, words, 2);
        if (s.ok()) *first = words[0], *second = words[1];
        return s;
    });
}

int32_t putWord(int32_t handle, codec::Op op, int32_t value) {
    return withConnection(handle, [&](Connection& c) { return writeWord(c, op, value); });
}

// Takes the transport by reference: it is filled by the open call evaluated beside it.
int32_t open(const Status& status, std::unique_ptr<Transport>& transport, int timeoutMs) {
    if (!status.ok()) return fail(status);
    const int32_t handle =
        addConnection(std::make_shared<Connection>(std::move(transport), timeoutMs));
    return handle > 0 ? succeed(handle) : fail(failure(ZL_ERR_OPEN_FAILED, "no handles left"));
}

in_addr toAddress(int32_t networkOrder) {
    in_addr a;
    a.s_addr = static_cast<uint32_t>(networkOrder);
    return a;
}

}  // namespace

extern "C" {

int32_t ZlOpenConnection(int32_t kind, int32_t param1, int32_t param2) {
    std::unique_ptr<Transport> t;
    switch (kind) {
        case ZL_KIND_SERIAL:
            return open(openSerial(param1, t), t, 0);
        case ZL_KIND_ZELNET:
            return open(openZelnet(param1, param2, t), t, 0);
        case ZL_KIND_UDP:
            return open(openUdp(toAddress(param2), t), t, 0);
        default:
            return fail(badArgument("connection kind"));
    }
}

int32_t ZlOpenNetConnection(int32_t kind, int32_t, int32_t address, int32_t* timeoutMs) {
    if (kind != ZL_KIND_TCP) return fail(badArgument("connection kind"));
    const int timeout = timeoutMs && *timeoutMs > 0 ? *timeoutMs : Connection::kDefaultTimeoutMs;
    std::unique_ptr<Transport> t;
    return open(openTcp(toAddress(address), timeout, t), t, timeout);
}

int32_t ZlInitConnection(int32_t handle, int32_t baud, int32_t parity, int32_t dataBits,
                         int32_t stopBits) {
    return withConnection(
        handle, [&](Connection& c) { return c.initLine(baud, parity, dataBits, stopBits); });
}

int32_t ZlSetConnectionTimeout(int32_t handle, int32_t timeoutMs) {
    return withConnection(handle, [&](Connection& c) {
        c.setTimeout(timeoutMs);
        return Status::success();
    });
}

int32_t ZlCloseConnection(int32_t handle) {
    if (!removeConnection(handle))
        return fail(failure(ZL_ERR_BAD_HANDLE, "handle " + std::to_string(handle)));
    return succeed();
}

int32_t ZlGetAvailableAdaptersIPList(int32_t* addresses, int32_t* netmasks, int32_t* count) {
    if (!addresses || !netmasks || !count) return fail(badArgument("null list"));
    const std::vector<Adapter> adapters = listAdapters();
    const size_t n = std::min<size_t>(adapters.size(), ZL_MAX_ADAPTERS);
    for (size_t i = 0; i < n; ++i) {
        addresses[i] = static_cast<int32_t>(adapters[i].address.s_addr);
        netmasks[i] = static_cast<int32_t>(adapters[i].netmask.s_addr);
    }
    *count = static_cast<int32_t>(n);
    return succeed();
}

// The choice is kept even when no such adapter exists, so that ZelNET opens fail with that
// reason instead of leaving through an adapter nobody chose.
int32_t ZlSetAdapter(int32_t index) {
    selectAdapter(index);
    const int32_t available = static_cast<int32_t>(listAdapters().size());
    if (index < 0 || index > available)
        return fail(failure(ZL_ERR_NO_ADAPTER, "adapter " + std::to_string(index) + " of " +
                                                   std::to_string(available)));
    return succeed();
}

int32_t ZlGetErrorInfo(int32_t, ZlErrorInfo* info) {
    if (!info) return 0;
    copyLastError(*info);
    return 1;
}

int32_t ZlGetRegister(int32_t handle, int32_t number, int32_t* value) {
    if (!value) return fail(badArgument("null value"));
    return withConnection(handle, [&](Connection& c) {
        c.body().i32(number);
        return readWords(c, codec::Op::GetRegister, value, 1);
    });
}

int32_t ZlPutRegister(int32_t handle, int32_t number, int32_t value) {
    return withConnection(handle, [&](Connection& c) {
        codec::ByteWriter& w = c.body();
        w.i32(number);
        w.i32(value);
        return exchange(c, codec::Op::PutRegister);
    });
}

static int32_t getRange(int32_t handle, int32_t first, int count, int32_t* values) {
    if (!values) return fail(badArgument("null block"));
    return withConnection(handle, [&](Connection& c) {
        codec::ByteWriter& w = c.body();
        w.i32(first);
        w.u16(static_cast<uint16_t>(count));
        return readWords(c, codec::Op::GetRegisterRange, values, count);
    });
}

int32_t ZlGetRegister16(int32_t handle, int32_t first, int32_t* values) {
    return getRange(handle, first, 16, values);
}

int32_t ZlGetRegister50(int32_t handle, int32_t block, int32_t* values) {
    if (block < 1 || block > 20) return fail(badArgument("block number 1..20"));
    return getRange(handle, 50 * (block - 1) + 1, 50, values);
}

int32_t ZlGetVRegister(int32_t handle, ZlVRegister* record) {
    if (!record) return fail(badArgument("null record"));
    return withConnection(handle, [&](Connection& c) {
        c.body().i32(record->number);
        double value = 0;
        Status s = exchange(c, codec::Op::GetVRegister,
                            [&](codec::ByteReader& r) { value = r.f64().value_or(0); });
        if (s.ok()) record->value = value;
        return s;
    });
}

int32_t ZlSetVRegister(int32_t handle, ZlVRegister* record) {
    if (!record) return fail(badArgument("null record"));
    return withConnection(handle, [&](Connection& c) {
        codec::ByteWriter& w = c.body();
        w.i32(record->number);
        w.f64(record->value);
        return exchange(c, codec::Op::SetVRegister);
    });
}

int32_t ZlPutFlag(int32_t handle, int32_t flag, int16_t value) {
    return withConnection(handle, [&](Connection& c) {
        codec::ByteWriter& w = c.body();
        w.i32(flag);
        w.i16(value);
        return exchange(c, codec::Op::PutFlag);
    });
}

int32_t ZlGetStatus(int32_t handle, int32_t* status) {
    return getWords(handle, codec::Op::GetStatus, status, 1);
}

int32_t ZlPutStatus(int32_t handle, int32_t status) {
    return putWord(handle, codec::Op::PutStatus, status);
}

int32_t ZlGetModel(int32_t handle, int32_t* model, int32_t* second) {
    return getWordPair(handle, codec::Op::GetModel, model, second, "null model");
}

int32_t ZlGetConfig(int32_t handle, int32_t* config) {
    return getWords(handle, codec::Op::GetConfig, config, 1);
}

int32_t ZlPutConfig(int32_t handle, int32_t config) {
    return putWord(handle, codec::Op::PutConfig, config);
}

int32_t ZlGetIoCount(int32_t handle, int32_t* counts) {
    return getWords(handle, codec::Op::GetIoCount, counts, 7);
}

int32_t ZlGetMiscIoCount(int32_t handle, int32_t* counts) {
    return getWords(handle, codec::Op::GetMiscIoCount, counts, 4);
}

int32_t ZlGetTaskBank(int32_t handle, int32_t bank, ZlTaskBank* buffer) {
    static_assert(sizeof(ZlTaskBank) == codec::kTaskBankWords * sizeof(int32_t));
    if (!buffer) return fail(badArgument("null bank"));
    return withConnection(handle, [&](Connection& c) {
        c.body().i32(bank);
        return readWords(c, codec::Op::GetTaskBank, reinterpret_cast<int32_t*>(buffer),
                         codec::kTaskBankWords);
    });
}

int32_t ZlGetDataTableDim(int32_t handle, int32_t* rows, int32_t* columns) {
    return getWordPair(handle, codec::Op::GetTableDim, rows, columns, "null dimensions");
}

static bool validColumns(int32_t first, int32_t last) {
    return first >= 1 && last >= first && last - first < codec::kMaxTableColumns;
}

int32_t ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                          int32_t* buffer) {
    if (!buffer || !validColumns(first, last)) return fail(badArgument("columns"));
    return withConnection(handle, [&](Connection& c) {
        codec::ByteWriter& w = c.body();
        w.i32(row);
        w.i32(first);
        w.i32(last);
        int32_t values[codec::kMaxTableColumns];
        const int count = last - first + 1;
        Status s = exchange(c, codec::Op::GetTableRow, [&](codec::ByteReader& r) {
            for (int i = 0; i < count; ++i) values[i] = r.u16().value_or(0);
        });
        if (s.ok()) std::memcpy(buffer, values, sizeof(int32_t) * static_cast<size_t>(count));
        return s;
    });
}

int32_t ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                          const int16_t* buffer) {
    if (!buffer || !validColumns(first, last)) return fail(badArgument("columns"));
    return withConnection(handle, [&](Connection& c) {
        codec::ByteWriter& w = c.body();
        w.i32(row);
        w.i32(first);
        w.i32(last);
        for (int i = 0; i <= last - first; ++i) w.i16(buffer[i]);
        return exchange(c, codec::Op::PutTableRow);
    });
}

int32_t ZlDownload(int32_t handle, const char* path, ZlTransferResult* result) {
    if (!path || !result) return fail(badArgument("null path or result"));
    return withConnection(handle, [&](Connection& c) { return downloadProgram(c, path, *result); });
}

int32_t ZlUpload(int32_t handle, const char* path, ZlTransferResult* result) {
    if (!path || !result) return fail(badArgument("null path or result"));
    return withConnection(handle, [&](Connection& c) { return uploadProgram(c, path, *result); });
}

int32_t ZlSendData(int32_t handle, int32_t kind, const char* request, int16_t length, char* reply) {
    if (kind != 20) return fail(badArgument("packet kind"));
    if (!request || !reply || length < 1 || length > codec::kMaxRawPacket)
        return fail(badArgument("packet length"));
    return withConnection(handle, [&](Connection& c) {
        codec::ByteWriter& w = c.body();
        w.u8(static_cast<uint8_t>(kind));
        w.bytes({reinterpret_cast<const uint8_t*>(request), static_cast<size_t>(length)});
        std::span<const uint8_t> answer;
        if (Status s = c.request(codec::Op::SendData, answer); !s.ok()) return s;
        if (answer.empty() || answer.size() > ZL_SEND_DATA_REPLY_SIZE)
            return badReply("packet size");
        std::memcpy(reply, answer.data(), answer.size());
        return Status::success();
    });
}

int32_t ZlSendAscii(int32_t handle, const char* text, int32_t length, char* reply,
                    int32_t endByte) {
    if (!reply || length < 0 || (length > 0 && !text) || endByte < 0 || endByte > 255)
        return fail(badArgument("text, reply or end byte"));
    int32_t count = 0;
    const int32_t outcome = withConnection(handle, [&](Connection& c) {
        if (!c.carriesRaw()) return failure(ZL_ERR_NOT_SUPPORTED, "only on a serial line");
        std::vector<uint8_t> answer;
        // One place is kept for the NUL after the reply.
        Status s = c.exchangeRaw({reinterpret_cast<const uint8_t*>(text), static_cast<size_t>(length)},
                                 static_cast<uint8_t>(endByte), ZL_SEND_ASCII_REPLY_SIZE - 1, answer);
        if (!s.ok()) return s;
        std::memcpy(reply, answer.data(), answer.size());
        reply[answer.size()] = '\0';
        count = static_cast<int32_t>(answer.size());
        return s;
    });
    return outcome == 1 ? succeed(count) : outcome;
}

}  // extern "C"
