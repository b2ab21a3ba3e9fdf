// The library with every call recorded into a traffic ring while recording is on. All calls of
// the monitor pass here, so this is the one place the record is made. While recording is off a
// call costs one relaxed atomic load on top of the library's own.
#pragma once

#include <atomic>
#include <initializer_list>

#include "link/traffic_ring.h"
#include "link/zel_library.h"

namespace zel {

inline constexpr std::size_t kTrafficRingSize = 20000;

class RecordingZelLibrary final : public ZelLibrary {
public:
    explicit RecordingZelLibrary(ZelLibrary& library, std::size_t ringSize = kTrafficRingSize);

    void setRecording(bool on) { recording_.store(on, std::memory_order_relaxed); }
    bool isRecording() const { return recording_.load(std::memory_order_relaxed); }
    TrafficRing& ring() { return ring_; }

    QString fileName() const override { return library_.fileName(); }
    bool isLoaded() const override { return library_.isLoaded(); }
    QString loadError() const override { return library_.loadError(); }

    int32_t ZlOpenConnection(LinkKind kind, int32_t param1, int32_t param2) override;
    int32_t ZlOpenNetConnection(LinkKind kind, int32_t reserved, int32_t address,
                                int32_t& timeoutMs) override;
    int32_t ZlInitConnection(int32_t handle, int32_t baud, int32_t parity, int32_t dataBits,
                             int32_t stopBits) override;
    int32_t ZlSetConnectionTimeout(int32_t handle, int32_t timeoutMs) override;
    int32_t ZlCloseConnection(int32_t handle) override;
    int32_t ZlGetAvailableAdaptersIPList(AdapterList& addresses, AdapterList& netmasks,
                                         int32_t& count) override;
    int32_t ZlSetAdapter(int32_t index) override;
    int32_t ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) override;
    int32_t ZlGetRegister(int32_t handle, int32_t number, int32_t& value) override;
    int32_t ZlPutRegister(int32_t handle, int32_t number, int32_t value) override;
    int32_t ZlGetRegister16(int32_t handle, int32_t first,
                            std::array<int32_t, 16>& values) override;
    int32_t ZlGetRegister50(int32_t handle, int32_t block,
                            std::array<int32_t, 50>& values) override;
    int32_t ZlGetVRegister(int32_t handle, VRegister& record) override;
    int32_t ZlSetVRegister(int32_t handle, VRegister& record) override;
    int32_t ZlPutFlag(int32_t handle, int32_t flag, int16_t value) override;
    int32_t ZlGetStatus(int32_t handle, int32_t& status) override;
    int32_t ZlPutStatus(int32_t handle, int32_t status) override;
    int32_t ZlGetModel(int32_t handle, int32_t& model, int32_t& second) override;
    int32_t ZlGetConfig(int32_t handle, int32_t& config) override;
    int32_t ZlPutConfig(int32_t handle, int32_t config) override;
    int32_t ZlGetIoCount(int32_t handle, std::array<int32_t, 7>& counts) override;
    int32_t ZlGetMiscIoCount(int32_t handle, std::array<int32_t, 4>& counts) override;
    int32_t ZlGetTaskBank(int32_t handle, int32_t bank, TaskBank& buffer) override;
    int32_t ZlGetDataTableDim(int32_t handle, int32_t& rows, int32_t& columns) override;
    int32_t ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                              QVector<int32_t>& values) override;
    int32_t ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                              const QVector<int16_t>& values) override;
    int32_t ZlDownload(int32_t handle, const QString& path, TransferResult& result) override;
    int32_t ZlUpload(int32_t handle, const QString& path, TransferResult& result) override;
    int32_t ZlSendData(int32_t handle, int32_t kind, const QByteArray& request, int16_t length,
                       QByteArray& reply) override;
    int32_t ZlSendAscii(int32_t handle, const QByteArray& text, int32_t length, QByteArray& reply,
                        int32_t endByte) override;

private:
    // The registers a call names: first..last, or none.
    struct Registers {
        int32_t first = 1;
        int32_t last = 0;
    };
    // How a call's result reads: 1 for success, or a handle above 0 from the open calls.
    enum class Success { One, Handle };

    template <typename Run>
    int32_t call(TrafficCall call, int32_t handle, std::initializer_list<int32_t> arguments,
                 Registers registers, Success success, Run&& run);
    void record(TrafficEntry& entry, int32_t handle, Success success);

    ZelLibrary& library_;
    std::atomic<bool> recording_{false};
    TrafficRing ring_;
};

}  // namespace zel
