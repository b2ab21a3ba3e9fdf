// One open connection: sends a request frame and waits, until the connection's timeout, for
// the reply that carries the same request id. Replies to earlier requests that arrive late,
// duplicates and corrupted frames are dropped, never taken for the answer.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "frame.h"
#include "protocol.h"
#include "status.h"
#include "transport.h"
#include "wire.h"

namespace zel::com {

class Connection {
public:
    static constexpr int kDefaultTimeoutMs = 1000;

    explicit Connection(std::unique_ptr<Transport> transport, int timeoutMs = kDefaultTimeoutMs);

    // The body of the next request, written in place so that a request allocates nothing.
    codec::ByteWriter& body() { return body_; }
    // Sends one request with the body written since the last one, and points reply at the body
    // of its answer, which stays valid until the next call on this connection. A reply whose
    // status is an error code fails with that code.
    Status request(codec::Op op, std::span<const uint8_t>& reply);

    // The boot loader's raw exchange on a serial line: writes text as it is and collects the
    // bytes up to and including endByte, at most limit of them. Bytes that arrive after the end
    // byte wait for the next raw exchange; a framed request throws them away.
    Status exchangeRaw(std::span<const uint8_t> text, uint8_t endByte, size_t limit,
                       std::vector<uint8_t>& reply);
    bool carriesRaw() const { return transport_->serialLine(); }

    void setTimeout(int timeoutMs);
    Status initLine(int baud, int parity, int dataBits, int stopBits);

    // Calls on one connection are serialised by the caller holding this lock.
    std::mutex& mutex() { return mutex_; }

private:
    using Clock = std::chrono::steady_clock;

    Status sendRequest(codec::Op op, std::span<const uint8_t>& reply);
    Status sendAll(std::span<const uint8_t> bytes, Clock::time_point deadline);
    Status awaitReply(uint32_t id, codec::Op op, Clock::time_point deadline,
                      std::span<const uint8_t>& reply);
    Status readSome(std::span<const uint8_t>& received, Clock::time_point deadline);
    bool isAnswer(const codec::FrameFields& frame, uint32_t id, codec::Op op) const;
    Status waitForInput(Clock::time_point deadline);
    Status waitFor(short events, Clock::time_point deadline);
    Status lose(Status status);

    std::unique_ptr<Transport> transport_;
    std::chrono::milliseconds timeout_;
    uint32_t nextId_ = 0;
    codec::ByteWriter body_;
    std::vector<uint8_t> sendBuffer_;
    codec::StreamDecoder decoder_;
    std::vector<uint8_t> receiveBuffer_ = std::vector<uint8_t>(codec::kMaxFrame);
    std::vector<uint8_t> rawPending_;
    Status lost_;  // once a stream link is gone, every later call fails at once
    std::mutex mutex_;
};

}  // namespace zel::com
