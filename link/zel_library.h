// The monitor's only way to the controller communication library: one call per library
// function, same argument order, same 32-bit results (1 = success, handles above 0). Text
// crosses as QString (Latin-1 on the library side) or as raw bytes where it is a packet.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>

#include "common/lib_error_record.h"
#include "link/link_records.h"

namespace zel {

// Code of the error record reported while the library file could not be loaded.
inline constexpr int32_t kLibraryNotLoadedError = -1;
// Code of the error record of a call refused because the monitor is closing.
inline constexpr int32_t kMonitorClosingError = -2;

class ZelLibrary {
public:
    virtual ~ZelLibrary() = default;

    // The library file in use (the resolved real path once loaded, else the name asked for).
    virtual QString fileName() const = 0;
    virtual bool isLoaded() const = 0;
    // Why loading failed: file name and loader message; empty when loaded.
    virtual QString loadError() const = 0;

    // Makes the calls that `calls` makes one after another with nothing else in between. Where
    // the calls run on a thread of their own they are handed over there once, as a whole,
    // instead of one by one.
    virtual void runTogether(const std::function<void()>& calls) { calls(); }

    virtual int32_t ZlOpenConnection(LinkKind kind, int32_t param1, int32_t param2) = 0;
    virtual int32_t ZlOpenNetConnection(LinkKind kind, int32_t reserved, int32_t address,
                                        int32_t& timeoutMs) = 0;
    virtual int32_t ZlInitConnection(int32_t handle, int32_t baud, int32_t parity, int32_t dataBits,
                                     int32_t stopBits) = 0;
    virtual int32_t ZlSetConnectionTimeout(int32_t handle, int32_t timeoutMs) = 0;
    virtual int32_t ZlCloseConnection(int32_t handle) = 0;
    virtual int32_t ZlGetAvailableAdaptersIPList(AdapterList& addresses, AdapterList& netmasks,
                                                 int32_t& count) = 0;
    virtual int32_t ZlSetAdapter(int32_t index) = 0;
    virtual int32_t ZlGetErrorInfo(int32_t handle, LibErrorRecord& info) = 0;

    virtual int32_t ZlGetRegister(int32_t handle, int32_t number, int32_t& value) = 0;
    virtual int32_t ZlPutRegister(int32_t handle, int32_t number, int32_t value) = 0;
    virtual int32_t ZlGetRegister16(int32_t handle, int32_t first,
                                    std::array<int32_t, 16>& values) = 0;
    virtual int32_t ZlGetRegister50(int32_t handle, int32_t block,
                                    std::array<int32_t, 50>& values) = 0;
    virtual int32_t ZlGetVRegister(int32_t handle, VRegister& record) = 0;
    virtual int32_t ZlSetVRegister(int32_t handle, VRegister& record) = 0;
    virtual int32_t ZlPutFlag(int32_t handle, int32_t flag, int16_t value) = 0;

    virtual int32_t ZlGetStatus(int32_t handle, int32_t& status) = 0;
    virtual int32_t ZlPutStatus(int32_t handle, int32_t status) = 0;
    virtual int32_t ZlGetModel(int32_t handle, int32_t& model, int32_t& second) = 0;
    virtual int32_t ZlGetConfig(int32_t handle, int32_t& config) = 0;
    virtual int32_t ZlPutConfig(int32_t handle, int32_t config) = 0;
    virtual int32_t ZlGetIoCount(int32_t handle, std::array<int32_t, 7>& counts) = 0;
    virtual int32_t ZlGetMiscIoCount(int32_t handle, std::array<int32_t, 4>& counts) = 0;
    virtual int32_t ZlGetTaskBank(int32_t handle, int32_t bank, TaskBank& buffer) = 0;

    virtual int32_t ZlGetDataTableDim(int32_t handle, int32_t& rows, int32_t& columns) = 0;
    // values is resized to the columns first..last.
    virtual int32_t ZlGetDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                                      QVector<int32_t>& values) = 0;
    // Columns missing from values are sent as 0.
    virtual int32_t ZlPutDataTableRow(int32_t handle, int32_t row, int32_t first, int32_t last,
                                      const QVector<int16_t>& values) = 0;

    virtual int32_t ZlDownload(int32_t handle, const QString& path, TransferResult& result) = 0;
    virtual int32_t ZlUpload(int32_t handle, const QString& path, TransferResult& result) = 0;
    // Sends at most request.size() bytes; reply receives the controller's raw reply buffer.
    virtual int32_t ZlSendData(int32_t handle, int32_t kind, const QByteArray& request,
                               int16_t length, QByteArray& reply) = 0;
    // Serial lines only: reply receives exactly the bytes up to and including endByte; the
    // result is their count, 0 on failure.
    virtual int32_t ZlSendAscii(int32_t handle, const QByteArray& text, int32_t length,
                                QByteArray& reply, int32_t endByte) = 0;
};

}  // namespace zel
