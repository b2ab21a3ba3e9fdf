#include "program_store.h"

#include "dso.h"
#include "frame.h"
#include "protocol.h"

namespace zel::sim {

ProgramStore::ProgramStore(Controller& controller)
    : controller_(controller), stored_(encodeDso(controller.program())) {}

ErrorCode ProgramStore::downloadBegin(uint32_t size) {
    if (size == 0 || size > codec::kMaxProgramSize) return ZL_ERR_BAD_VALUE;
    uploading_ = false;
    downloading_ = true;
    expected_ = size;
    incoming_.clear();
    incoming_.reserve(size);
    controller_.setProgrammingMode(true);
    return ZL_OK;
}

ErrorCode ProgramStore::downloadChunk(uint32_t offset, std::span<const uint8_t> bytes) {
    if (!downloading_ || offset != incoming_.size()) return ZL_ERR_TRANSFER_STATE;
    if (bytes.empty() || bytes.size() > static_cast<size_t>(codec::kProgramChunk))
        return ZL_ERR_BAD_ARGUMENT;
    if (bytes.size() > expected_ - incoming_.size()) return ZL_ERR_BAD_VALUE;
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
    return ZL_OK;
}

Result<DownloadOutcome> ProgramStore::downloadEnd(uint32_t crc) {
    if (!downloading_ || incoming_.size() != expected_)
        return failure<DownloadOutcome>(ZL_ERR_TRANSFER_STATE);
    endDownload();
    if (codec::crc32(incoming_) != crc) return failure<DownloadOutcome>(ZL_ERR_BAD_VALUE);
    Program program;
    try {
        program = decodeDso(incoming_);
    } catch (const DsoError&) {
        return failure<DownloadOutcome>(ZL_ERR_PROGRAM_REJECTED);
    }
    DownloadOutcome out{static_cast<int32_t>(crc), static_cast<int32_t>(incoming_.size()), 0,
                        static_cast<int32_t>(programWarnings(program).size())};
    controller_.loadProgram(std::move(program));
    stored_ = std::move(incoming_);
    incoming_.clear();
    return success(out);
}

void ProgramStore::endDownload() {
    downloading_ = false;
    controller_.setProgrammingMode(false);
}

Result<UploadInfo> ProgramStore::uploadBegin() {
    if (downloading_) endDownload();
    uploading_ = true;
    outgoing_ = stored_;
    uploadOffset_ = 0;
    return success(UploadInfo{static_cast<uint32_t>(outgoing_.size()), codec::crc32(outgoing_)});
}

Result<std::vector<uint8_t>> ProgramStore::uploadChunk(uint32_t offset, uint16_t length) {
    using Bytes = std::vector<uint8_t>;
    if (!uploading_ || offset != uploadOffset_) return failure<Bytes>(ZL_ERR_TRANSFER_STATE);
    if (length == 0 || length > codec::kProgramChunk) return failure<Bytes>(ZL_ERR_BAD_ARGUMENT);
    const size_t n = std::min<size_t>(length, outgoing_.size() - offset);
    Bytes out(outgoing_.begin() + offset,
              outgoing_.begin() + static_cast<std::ptrdiff_t>(offset + n));
    uploadOffset_ += static_cast<uint32_t>(n);
    if (uploadOffset_ == outgoing_.size()) uploading_ = false;
    return success(std::move(out));
}

}  // namespace zel::sim
