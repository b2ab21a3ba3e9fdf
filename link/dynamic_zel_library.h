// The communication library loaded from its shared object at run time. When no file can be
// loaded the object still stands: every call fails and the error record says why.
#pragma once

#include <QStringList>
#include <memory>

#include "link/zel_library.h"

namespace zel {

struct ZelSymbols;

inline constexpr char kLibraryOverrideVariable[] = "ZELMON_ZELCOM_LIBRARY";
inline constexpr char kLibrarySoname[] = "libzelcom.so.3";

class DynamicZelLibrary final : public ZelLibrary {
public:
    // Where to look: the file named by ZELMON_ZELCOM_LIBRARY alone when it is set (a file
    // chosen on purpose is not silently replaced by another); otherwise the application's
    // folder first (the build tree), then the library folder of the prefix the application
    // is installed under, then the loader's own search path.
    static QStringList candidateFiles(const QString& applicationFolder);

    // Loads the first candidate that opens and has every entry point.
    explicit DynamicZelLibrary(const QStringList& candidates);
    ~DynamicZelLibrary() override;
    DynamicZelLibrary(const DynamicZelLibrary&) = delete;
    DynamicZelLibrary& operator=(const DynamicZelLibrary&) = delete;

    QString fileName() const override { return fileName_; }
    bool isLoaded() const override { return handle_ != nullptr; }
    QString loadError() const override { return loadError_; }

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
    bool tryLoad(const QString& file, QString& error);
    LibErrorRecord notLoadedRecord() const;

    void* handle_ = nullptr;
    // Kept out of this header so that only link/ sees the library's own declarations.
    std::unique_ptr<ZelSymbols> symbols_;
    QString fileName_;
    QString loadError_;
};

}  // namespace zel
