// The library as the monitor uses it, with the polling tick's register reads shared: during a
// tick, a register one block has read is handed to the next block that asks without going to
// the controller again, so a value shown by a window and also trended is fetched once per
// tick. Any call that may change the controller or the link forgets what was read; outside a
// tick every call goes straight through.
#pragma once

#include <QHash>
#include <utility>

#include "link/zel_library.h"

namespace zel {

class TickReadCache final : public ZelLibrary {
public:
    explicit TickReadCache(ZelLibrary& library) : library_(library) {}

    void beginTick() { inTick_ = true; }
    void endTick() {
        inTick_ = false;
        registers_.clear();
    }

    QString fileName() const override { return library_.fileName(); }
    bool isLoaded() const override { return library_.isLoaded(); }
    QString loadError() const override { return library_.loadError(); }

    int32_t ZlGetRegister(int32_t handle, int32_t number, int32_t& value) override;

    int32_t ZlOpenConnection(LinkKind kind, int32_t param1, int32_t param2) override {
        return changing().ZlOpenConnection(kind, param1, param2);
    }
    int32_t ZlOpenNetConnection(LinkKind kind, int32_t reserved, int32_t address,
                                int32_t& timeoutMs) override {
        return changing().ZlOpenNetConnection(kind, reserved, address, timeoutMs);
    }
    int32_t ZlInitConnection(int32_t handle, int32_t baud, int32_t parity, int32_t dataBits,
                             int32_t stopBits) override {
        return changing().ZlInitConnection(handle, baud, parity, dataBits, stopBits);
    }
    int32_t ZlSetConnectionTimeout(int32_t handle, int32_t timeoutMs) override {
        return library_.ZlSetConnectionTimeout(handle, timeoutMs);
    }
    int32_t ZlCloseConnection(int32_t handle) override {
        return changing().ZlCloseConnection(handle);
    }
    int32_t ZlGetAvailableAdaptersIPList(AdapterList& addresses, AdapterList& netmasks,
                                         int32_t& count) override {
        return library_.ZlGetAvailableAdaptersIPList(addresses, netmasks, count);
    }
    int32_t ZlSetAdapter(int32_t index) override { return library_.ZlSetAdapter(index); }
    int32_t ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) override {
        return library_.ZlGetErrorInfo(handle, info);
    }
    int32_t ZlPutRegister(int32_t handle, int32_t number, int32_t value) override {
        return changing().ZlPutRegister(handle, number, value);
    }
    int32_t ZlGetRegister16(int32_t handle, int32_t first,
                            std::array<int32_t, 16>& values) override {
        return library_.ZlGetRegister16(handle, first, values);
    }
    int32_t ZlGetRegister50(int32_t handle, int32_t block,
                            std::array<int32_t, 50>& values) override {
        return library_.ZlGetRegister50(handle, block, values);
    }
    int32_t ZlGetVRegister(int32_t handle, VRegister& record) override {
        return library_.ZlGetVRegister(handle, record);
    }
    int32_t ZlSetVRegister(int32_t handle, VRegister& record) override {
        return changing().ZlSetVRegister(handle, record);
    }
    int32_t ZlPutFlag(int32_t handle, int32_t flag, int16_t value) override {
        return changing().ZlPutFlag(handle, flag, value);
    }
    int32_t ZlGetStatus(int32_t handle, int32_t& status) override {
        return library_.ZlGetStatus(handle, status);
    }
    int32_t ZlPutStatus(int32_t handle, int32_t status) override {
        return changing().ZlPutStatus(handle, status);
    }
    int32_t ZlGetModel(int32_t handle, int32_t& model, int32_t& second) override {
        return library_.ZlGetModel(handle, model, second);
    }
    int32_t ZlGetConfig(int32_t handle, int32_t& config) override {
        return library_.ZlGetConfig(handle, config);
    }
    int32_t ZlPutConfig(int32_t handle, int32_t config) override {
        return changing().ZlPutConfig(handle, config);
    }
    int32_t ZlGetIoCount(int32_t handle, std::array<int32_t, 7>& counts) override {
        return library_.ZlGetIoCount(handle, counts);
    }
    int32_t ZlGetMiscIoCount(int32_t handle, std::array<int32_t, 4>& counts) override {
        return library_.ZlGetMiscIoCount(handle, counts);
    }
    int32_t ZlGetTaskBank(int32_t handle, int32_t bank, TaskBank& buffer) override {
        return library_.ZlGetTaskBank(handle, bank, buffer);
    }
    int32_t ZlGetDataTableDim(int32_t handle, int32_t& rows, int32_t& columns) override {
        return library_.ZlGetDataTableDim(handle, rows, columns);
    }
    int32_t ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                              QVector<int32_t>& values) override {
        return library_.ZlGetDataTableRow(handle, row, first, last, values);
    }
    int32_t ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                              const QVector<int16_t>& values) override {
        return changing().ZlPutDataTableRow(handle, row, first, last, values);
    }
    int32_t ZlDownload(int32_t handle, const QString& path, TransferResult& result) override {
        return changing().ZlDownload(handle, path, result);
    }
    int32_t ZlUpload(int32_t handle, const QString& path, TransferResult& result) override {
        return changing().ZlUpload(handle, path, result);
    }
    // A raw packet may write anything.
    int32_t ZlSendData(int32_t handle, int32_t kind, const QByteArray& request, int16_t length,
                       QByteArray& reply) override {
        return changing().ZlSendData(handle, kind, request, length, reply);
    }
    int32_t ZlSendAscii(int32_t handle, const QByteArray& text, int32_t length, QByteArray& reply,
                        int32_t endByte) override {
        return changing().ZlSendAscii(handle, text, length, reply, endByte);
    }

private:
    ZelLibrary& changing() {
        registers_.clear();
        return library_;
    }

    ZelLibrary& library_;
    bool inTick_ = false;
    QHash<std::pair<int32_t, int32_t>, int32_t> registers_;  // (handle, number) -> value
};

}  // namespace zel
