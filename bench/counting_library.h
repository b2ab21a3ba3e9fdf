// A library that forwards every call to another and counts the calls that go to the controller
// and the time they take, so a benchmark can tell how many round trips a tick made and how much
// of the tick they took.
#pragma once

#include <chrono>
#include <vector>

#include "link/zel_library.h"

namespace zel::bench {

// A register read as the work made it, so that a benchmark can make the same reads straight
// to the library as the floor of that work.
struct RegisterRead {
    enum Kind { Single, Block16, Block50 } kind;
    int32_t address;  // the register, the first of sixteen, or the block of fifty
};

class CountingLibrary final : public ZelLibrary {
public:
    explicit CountingLibrary(ZelLibrary& inner) : inner_(inner) {}
    long roundTrips = 0;
    double callNs = 0;                                   // spent inside those calls
    std::vector<RegisterRead>* registerReads = nullptr;  // the reads are added here when set

    QString fileName() const override { return inner_.fileName(); }
    bool isLoaded() const override { return inner_.isLoaded(); }
    QString loadError() const override { return inner_.loadError(); }

    int32_t ZlOpenConnection(LinkKind k, int32_t a, int32_t b) override {
        return inner_.ZlOpenConnection(k, a, b);
    }
    int32_t ZlOpenNetConnection(LinkKind k, int32_t r, int32_t a, int32_t& t) override {
        return inner_.ZlOpenNetConnection(k, r, a, t);
    }
    int32_t ZlInitConnection(int32_t h, int32_t b, int32_t p, int32_t d, int32_t s) override {
        return inner_.ZlInitConnection(h, b, p, d, s);
    }
    int32_t ZlSetConnectionTimeout(int32_t h, int32_t t) override {
        return inner_.ZlSetConnectionTimeout(h, t);
    }
    int32_t ZlCloseConnection(int32_t h) override { return inner_.ZlCloseConnection(h); }
    int32_t ZlGetAvailableAdaptersIPList(AdapterList& a, AdapterList& m, int32_t& c) override {
        return inner_.ZlGetAvailableAdaptersIPList(a, m, c);
    }
    int32_t ZlSetAdapter(int32_t i) override { return inner_.ZlSetAdapter(i); }
    int32_t ZlGetErrorInfo(int32_t h, LibErrorRecord& e) override {
        return inner_.ZlGetErrorInfo(h, e);
    }

    int32_t ZlGetRegister(int32_t h, int32_t n, int32_t& v) override {
        record(RegisterRead::Single, n);
        return count([&] { return inner_.ZlGetRegister(h, n, v); });
    }
    int32_t ZlPutRegister(int32_t h, int32_t n, int32_t v) override {
        return count([&] { return inner_.ZlPutRegister(h, n, v); });
    }
    int32_t ZlGetRegister16(int32_t h, int32_t f, std::array<int32_t, 16>& v) override {
        record(RegisterRead::Block16, f);
        return count([&] { return inner_.ZlGetRegister16(h, f, v); });
    }
    int32_t ZlGetRegister50(int32_t h, int32_t b, std::array<int32_t, 50>& v) override {
        record(RegisterRead::Block50, b);
        return count([&] { return inner_.ZlGetRegister50(h, b, v); });
    }
    int32_t ZlGetVRegister(int32_t h, VRegister& r) override {
        return count([&] { return inner_.ZlGetVRegister(h, r); });
    }
    int32_t ZlSetVRegister(int32_t h, VRegister& r) override {
        return count([&] { return inner_.ZlSetVRegister(h, r); });
    }
    int32_t ZlPutFlag(int32_t h, int32_t f, int16_t v) override {
        return count([&] { return inner_.ZlPutFlag(h, f, v); });
    }
    int32_t ZlGetStatus(int32_t h, int32_t& s) override {
        return count([&] { return inner_.ZlGetStatus(h, s); });
    }
    int32_t ZlPutStatus(int32_t h, int32_t s) override {
        return count([&] { return inner_.ZlPutStatus(h, s); });
    }
    int32_t ZlGetModel(int32_t h, int32_t& m, int32_t& s) override {
        return count([&] { return inner_.ZlGetModel(h, m, s); });
    }
    int32_t ZlGetConfig(int32_t h, int32_t& c) override {
        return count([&] { return inner_.ZlGetConfig(h, c); });
    }
    int32_t ZlPutConfig(int32_t h, int32_t c) override {
        return count([&] { return inner_.ZlPutConfig(h, c); });
    }
    int32_t ZlGetIoCount(int32_t h, std::array<int32_t, 7>& c) override {
        return count([&] { return inner_.ZlGetIoCount(h, c); });
    }
    int32_t ZlGetMiscIoCount(int32_t h, std::array<int32_t, 4>& c) override {
        return count([&] { return inner_.ZlGetMiscIoCount(h, c); });
    }
    int32_t ZlGetTaskBank(int32_t h, int32_t b, TaskBank& t) override {
        return count([&] { return inner_.ZlGetTaskBank(h, b, t); });
    }
    int32_t ZlGetDataTableDim(int32_t h, int32_t& r, int32_t& c) override {
        return count([&] { return inner_.ZlGetDataTableDim(h, r, c); });
    }
    int32_t ZlGetDataTableRow(int32_t h, int32_t r, int32_t f, int32_t l,
                              QVector<int32_t>& v) override {
        return count([&] { return inner_.ZlGetDataTableRow(h, r, f, l, v); });
    }
    int32_t ZlPutDataTableRow(int32_t h, int32_t r, int32_t f, int32_t l,
                              const QVector<int16_t>& v) override {
        return count([&] { return inner_.ZlPutDataTableRow(h, r, f, l, v); });
    }
    int32_t ZlDownload(int32_t h, const QString& p, TransferResult& r) override {
        return inner_.ZlDownload(h, p, r);
    }
    int32_t ZlUpload(int32_t h, const QString& p, TransferResult& r) override {
        return inner_.ZlUpload(h, p, r);
    }
    int32_t ZlSendData(int32_t h, int32_t k, const QByteArray& q, int16_t l,
                       QByteArray& r) override {
        return count([&] { return inner_.ZlSendData(h, k, q, l, r); });
    }
    int32_t ZlSendAscii(int32_t h, const QByteArray& t, int32_t l, QByteArray& r,
                        int32_t e) override {
        return count([&] { return inner_.ZlSendAscii(h, t, l, r, e); });
    }

private:
    void record(RegisterRead::Kind kind, int32_t address) {
        if (registerReads) registerReads->push_back({kind, address});
    }
    template <typename Call>
    int32_t count(Call call) {
        ++roundTrips;
        const auto start = std::chrono::steady_clock::now();
        const int32_t result = call();
        callNs += static_cast<double>(
            std::chrono::nanoseconds(std::chrono::steady_clock::now() - start).count());
        return result;
    }
    ZelLibrary& inner_;
};

}  // namespace zel::bench
