#include "connection.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "zelcom.h"

namespace zel::com {
Connection::Connection(std::unique_ptr<Transport> transport, int timeoutMs)
    : transport_(std::move(transport)) {
    setTimeout(timeoutMs);
    // A fresh connection starts its ids at a random point, so a reply meant for an earlier
    // connection on the same link is not mistaken for one of ours.
    nextId_ = std::random_device{}();
}

void Connection::setTimeout(int timeoutMs) {
    timeout_ = std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs);
}

Status Connection::initLine(int baud, int parity, int dataBits, int stopBits) {
    return transport_->initLine(baud, parity, dataBits, stopBits);
}

Status Connection::request(codec::Op op, std::span<const uint8_t>& reply) {
    const Status s = sendRequest(op, reply);
    body_.data().clear();  // the next request starts from an empty body, however this one ended
    return s;
}

Status Connection::sendRequest(codec::Op op, std::span<const uint8_t>& reply) {
    if (!lost_.ok()) return lost_;
    const std::span<const uint8_t> body = body_.data();
    if (body.size() > codec::kMaxBody) return failure(ZL_ERR_BAD_ARGUMENT, "request too long");
    const auto deadline = Clock::now() + timeout_;
    // Bytes left from an earlier request answer nothing we will ask; late replies still on
    // the link are told apart by their ids as they arrive.
    decoder_.clear();
    rawPending_.clear();

    codec::FrameFields fields;
    fields.type = codec::FrameType::Request;
    if (++nextId_ == 0) ++nextId_;
    fields.id = nextId_;
    fields.opcode = static_cast<uint16_t>(op);
    fields.target_node = transport_->targetNode();
    fields.source_node = transport_->ownNode();
    codec::encodeFrame(fields, body, sendBuffer_);
    if (Status s = sendAll(sendBuffer_, deadline); !s.ok()) return s;
    return awaitReply(fields.id, op, deadline, reply);
}

Status Connection::exchangeRaw(std::span<const uint8_t> text, uint8_t endByte, size_t limit,
                               std::vector<uint8_t>& reply) {
    if (!lost_.ok()) return lost_;
    const auto deadline = Clock::now() + timeout_;
    if (Status s = sendAll(text, deadline); !s.ok()) return s;
    for (;;) {
        const auto window = rawPending_.begin() +
                            static_cast<std::ptrdiff_t>(std::min(limit, rawPending_.size()));
        const auto end = std::find(rawPending_.begin(), window, endByte);
        if (end != window) {
            reply.assign(rawPending_.begin(), end + 1);
            rawPending_.erase(rawPending_.begin(), end + 1);
            return Status::success();
        }
        if (rawPending_.size() >= limit) {
            rawPending_.clear();
            return failure(ZL_ERR_BAD_REPLY, "no end byte in " + std::to_string(limit) + " bytes");
        }
        std::span<const uint8_t> received;
        if (Status s = readSome(received, deadline); !s.ok()) return s;
        rawPending_.insert(rawPending_.end(), received.begin(), received.end());
    }
}

Status Connection::sendAll(std::span<const uint8_t> bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        Status s;
        const ssize_t n = transport_->writeSome(bytes, s);
        if (n < 0) return transport_->datagram() ? s : lose(s);
        if (n == 0) {
            if (Status w = waitFor(POLLOUT, deadline); !w.ok()) return w;
            continue;
        }
        bytes = bytes.subspan(static_cast<size_t>(n));
    }
    return Status::success();
}

Status Connection::awaitReply(uint32_t id, codec::Op op, Clock::time_point deadline,
                              std::span<const uint8_t>& reply) {
    std::span<const uint8_t> received;
    for (;;) {
        std::optional<codec::FrameView> answer;
        if (transport_->datagram()) {
            if (auto f = codec::viewDatagram(received); f && isAnswer(*f, id, op)) answer = f;
        } else {
            decoder_.feed(received);
            while (auto f = decoder_.nextView()) {
                if (isAnswer(*f, id, op)) {
                    answer = f;
                    break;
                }
            }
        }
        if (answer) {
            if (answer->status != 0) return failure(answer->status);
            reply = answer->body;
            return Status::success();
        }
        if (Status s = readSome(received, deadline); !s.ok()) return s;
    }
}

// Waits for input and reads one datagram or one run of stream bytes.
Status Connection::readSome(std::span<const uint8_t>& received, Clock::time_point deadline) {
    for (;;) {
        if (Status s = waitForInput(deadline); !s.ok()) return s;
        Status s;
        const ssize_t n = transport_->readSome(receiveBuffer_, s);
        if (n > 0) {
            received = std::span<const uint8_t>(receiveBuffer_.data(), static_cast<size_t>(n));
            return Status::success();
        }
        if (n == 0 && !transport_->datagram())
            return lose(failure(ZL_ERR_LINK_LOST, "closed by the controller"));
        if (n < 0 && !s.ok()) return transport_->datagram() ? s : lose(s);
    }
}

bool Connection::isAnswer(const codec::FrameFields& f, uint32_t id, codec::Op op) const {
    if (f.type != codec::FrameType::Reply || f.id != id || f.opcode != static_cast<uint16_t>(op))
        return false;
    return f.source_node == transport_->targetNode() && f.target_node == transport_->ownNode();
}

// A link whose reads wait is given the time left to wait in its next read; any other is polled
// until it has input.
Status Connection::waitForInput(Clock::time_point deadline) {
    if (!transport_->waitsInRead()) return waitFor(POLLIN, deadline);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return failure(ZL_ERR_TIMEOUT);
    return transport_->setReadWait(left);
}

Status Connection::waitFor(short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return failure(ZL_ERR_TIMEOUT);
        pollfd p{transport_->fd(), events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(left.count()));
        if (n > 0) return Status::success();
        if (n < 0 && errno != EINTR) return failure(ZL_ERR_LINK_LOST, std::strerror(errno));
    }
}

Status Connection::lose(Status status) {
    lost_ = status;
    return status;
}

}  // namespace zel::com
