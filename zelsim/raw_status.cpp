#include "raw_status.h"

namespace zel::sim {
namespace {

bool requestFramed(std::span<const uint8_t> r) {
    if (r.size() < 5 || r[0] != 1 || static_cast<size_t>(r[1]) != r.size() - 2 || r.back() != 255)
        return false;
    unsigned sum = 0;
    for (size_t i = 2; i + 2 < r.size(); ++i) sum += r[i];
    return r[r.size() - 2] == static_cast<uint8_t>(255 - (sum & 0xFF));
}

// Puts the length in front and the checksum and end byte behind the reply's code and fields.
std::vector<uint8_t> sealReply(std::vector<uint8_t> body) {
    std::vector<uint8_t> out;
    out.reserve(body.size() + 3);
    out.push_back(static_cast<uint8_t>(body.size() + 2));
    unsigned sum = 0;
    for (uint8_t b : body) {
        out.push_back(b);
        sum += b;
    }
    out.push_back(static_cast<uint8_t>((sum & 0xFF) ^ 0xFF));
    out.push_back(255);
    return out;
}

}  // namespace

Result<std::vector<uint8_t>> RawStatusResponder::answer(std::span<const uint8_t> request,
                                                        const Controller& controller) {
    using Bytes = std::vector<uint8_t>;
    if (!requestFramed(request)) return failure<Bytes>(ZL_ERR_BAD_PACKET);
    const uint8_t command = request[2];
    const auto args = request.subspan(3, request.size() - 5);
    if (command == kRawStatusCommand) {
        if (args.size() != 1 || args[0] != 255) return failure<Bytes>(ZL_ERR_BAD_PACKET);
        return success(statusReply(controller));
    }
    if (command == kRawTasksCommand) {
        if (args.size() != 2 || args[1] > 1) return failure<Bytes>(ZL_ERR_BAD_PACKET);
        if (args[1] == 1 || snapshot_.empty()) takeSnapshot(controller);
        return success(tasksReply(args[0]));
    }
    return failure<Bytes>(ZL_ERR_UNKNOWN_REQUEST);
}

std::vector<uint8_t> RawStatusResponder::statusReply(const Controller& c) const {
    const Fault& f = c.fault();
    const auto step = static_cast<uint16_t>(f.step);
    const auto datum = static_cast<uint32_t>(f.datum);
    std::vector<uint8_t> body{kRawStatusReply, static_cast<uint8_t>(c.running() ? 0 : 1),
                              static_cast<uint8_t>(f.code), static_cast<uint8_t>(step & 0xFF),
                              static_cast<uint8_t>(step >> 8)};
    for (int i = 0; i < 4; ++i) body.push_back(static_cast<uint8_t>(datum >> (8 * i)));
    return sealReply(std::move(body));
}

void RawStatusResponder::takeSnapshot(const Controller& c) {
    snapshot_.assign(static_cast<size_t>(c.taskCount()), TaskRecord{});
    for (int t = 0; t < c.taskCount(); ++t) {
        const Task& task = c.task(t);
        TaskRecord& r = snapshot_[static_cast<size_t>(t)];
        r.rawStep = task.step == 0 ? 0xFFFF : static_cast<uint16_t>(task.step - 1);
        r.state = task.state;
        r.keys = task.keys;
    }
}

std::vector<uint8_t> RawStatusResponder::tasksReply(uint8_t offset) const {
    const size_t total = snapshot_.size();
    const size_t keyBytes = (total - 1) / 8 + 1;
    std::vector<uint8_t> body{kRawTasksReply, static_cast<uint8_t>(total), offset};
    for (size_t i = 0; i < 8; ++i) {
        const size_t t = offset + i;
        const TaskRecord r = t < total ? snapshot_[t] : TaskRecord{};
        body.push_back(static_cast<uint8_t>(r.rawStep & 0xFF));
        body.push_back(static_cast<uint8_t>(r.rawStep >> 8));
        body.push_back(r.state);
        for (size_t k = 0; k < keyBytes; ++k)
            body.push_back(static_cast<uint8_t>(r.keys[k / 4] >> (8 * (k % 4))));
    }
    return sealReply(std::move(body));
}

}  // namespace zel::sim
