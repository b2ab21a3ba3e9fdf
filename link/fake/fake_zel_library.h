// Test double of the communication library: scripted results, a small controller memory and a
// log of every call with its arguments, so tests can inject faults no real controller makes
// on demand and check the exact order of calls.
#pragma once

#include <QList>
#include <QMap>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>

#include "link/zel_calls.h"
#include "link/zel_library.h"

namespace zel {

class FakeZelLibrary final : public ZelLibrary {
public:
    // Handle the open calls return unless told otherwise.
    static constexpr int32_t kHandle = 7;

    // Decides a call's result from its numeric arguments (handle first where there is one).
    using Responder = std::function<int32_t(const QVector<int32_t>& args)>;

    // A call's result comes from its queue while that has entries, then from its responder,
    // then from its default (kHandle for the open calls, 1 for the rest).
    void queueResults(ZelCall call, std::initializer_list<int32_t> results);
    void setResponder(ZelCall call, Responder responder);
    void setDefaultResult(ZelCall call, int32_t result);

    // Controller contents handed out by successful reads.
    void setRegister(int32_t number, int32_t value) { registers_[number] = value; }
    int32_t registerValue(int32_t number) const { return registers_.value(number); }
    void setModel(int32_t code, int32_t second);
    void setIoCounts(const std::array<int32_t, 7>& counts) { ioCounts_ = counts; }
    void setMiscIoCounts(const std::array<int32_t, 4>& counts) { miscCounts_ = counts; }
    void setStatusWord(int32_t status) { status_ = status; }
    void setConfigWord(int32_t config) { config_ = config; }
    void setTaskBank(int32_t bank, const TaskBank& contents) { taskBanks_[bank] = contents; }
    void setSendDataReply(const QByteArray& reply) { sendDataReply_ = reply; }
    // Data table size; rows written with ZlPutDataTableRow read back with ZlGetDataTableRow.
    void setDataTableDim(int32_t rows, int32_t columns) { tableDim_ = {rows, columns}; }
    void setVRegister(int32_t number, double value) { vRegisters_[number] = value; }
    double vRegisterValue(int32_t number) const { return vRegisters_.value(number); }
    // The record ZlGetErrorInfo fills; the text is padded to 255 characters as the library does.
    void setError(int32_t code, const QString& text);
    void setFileName(const QString& file) { fileName_ = file; }

    // "ZlInitConnection(7, 9600, 0, 8, 0)"-style entries, in call order.
    const QStringList& calls() const { return calls_; }
    // The entries of one call, in call order.
    QStringList callsTo(ZelCall call) const;
    // Just the calls, in call order.
    const QList<ZelCall>& callOrder() const { return order_; }
    void clearCalls() {
        calls_.clear();
        order_.clear();
    }

    QString fileName() const override { return fileName_; }
    bool isLoaded() const override { return true; }
    QString loadError() const override { return {}; }

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
    // Logs the call and decides its result.
    int32_t answer(ZelCall call, const QVector<int32_t>& args, const QString& extra = {});
    int32_t resultFor(ZelCall call, const QVector<int32_t>& args);

    std::array<std::deque<int32_t>, kZelCallCount> queued_;
    std::array<Responder, kZelCallCount> responders_;
    std::array<std::optional<int32_t>, kZelCallCount> defaults_;
    QStringList calls_;
    QList<ZelCall> order_;
    QMap<int32_t, int32_t> registers_;
    QMap<int32_t, double> vRegisters_;
    QMap<int32_t, TaskBank> taskBanks_;
    QMap<int32_t, QMap<int32_t, int32_t>> tableCells_;  // row -> column -> value
    std::array<int32_t, 2> tableDim_{};
    int32_t model_ = 0;
    int32_t modelSecond_ = 0;
    std::array<int32_t, 7> ioCounts_{};
    std::array<int32_t, 4> miscCounts_{};
    int32_t status_ = 0;
    int32_t config_ = 0;
    QByteArray sendDataReply_;
    LibErrorRecord error_;
    QString fileName_ = QStringLiteral("libzelcom.so.3");
};

// Test failures name the call.
inline void PrintTo(ZelCall call, std::ostream* os) {
    *os << callName(call);
}

}  // namespace zel
