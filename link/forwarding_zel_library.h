// A library that hands every call on to another. A decorator derives from it and declares only
// the calls it treats in a way of its own; a rule for all calls alike goes in pass(), which every
// forwarded call goes through with its name and numbers.
#pragma once

#include "link/zel_calls.h"
#include "link/zel_library.h"

namespace zel {

// A forwarded call ready to run on the inner library. It refers to the caller's lambda rather
// than owning a copy, so handing it to pass() allocates nothing.
class InnerCall {
public:
    template <typename Run>
    explicit InnerCall(Run& run)
        : run_(&run), invoke_([](void* r) { return (*static_cast<Run*>(r))(); }) {}
    int32_t operator()() const { return invoke_(run_); }

private:
    void* run_;
    int32_t (*invoke_)(void*);
};

class ForwardingZelLibrary : public ZelLibrary {
public:
    explicit ForwardingZelLibrary(ZelLibrary& inner) : inner_(inner) {}

    QString fileName() const override { return inner_.fileName(); }
    bool isLoaded() const override { return inner_.isLoaded(); }
    QString loadError() const override { return inner_.loadError(); }
    void runTogether(const std::function<void()>& calls) override { inner_.runTogether(calls); }

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

protected:
    // Runs a call on the inner library; numbers are the numeric arguments, handle first where
    // the call takes one. By default it just runs it.
    virtual int32_t pass(ZelCall call, CallNumbers numbers, InnerCall run);

    ZelLibrary& inner() const { return inner_; }

private:
    template <typename Run>
    int32_t forward(ZelCall call, CallNumbers numbers, Run run) {
        return pass(call, numbers, InnerCall(run));
    }

    ZelLibrary& inner_;
};

}  // namespace zel
