// Program transfer: a download collects a program object file in order, checks it and loads
// it into the controller; an upload hands out the bytes of the program the controller holds.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "controller.h"
#include "result.h"

namespace zel::sim {

struct DownloadOutcome {
    int32_t checksum = 0;
    int32_t bytes = 0;
    int32_t errors = 0;
    int32_t warnings = 0;
};

struct UploadInfo {
    uint32_t size = 0;
    uint32_t crc = 0;
};

class ProgramStore {
public:
    // The stored file starts as the controller's current program.
    explicit ProgramStore(Controller& controller);

    ErrorCode downloadBegin(uint32_t size);
    ErrorCode downloadChunk(uint32_t offset, std::span<const uint8_t> bytes);
    Result<DownloadOutcome> downloadEnd(uint32_t crc);

    Result<UploadInfo> uploadBegin();
    Result<std::vector<uint8_t>> uploadChunk(uint32_t offset, uint16_t length);

    const std::vector<uint8_t>& stored() const { return stored_; }

private:
    void endDownload();

    Controller& controller_;
    std::vector<uint8_t> stored_;
    bool downloading_ = false;
    uint32_t expected_ = 0;
    std::vector<uint8_t> incoming_;
    bool uploading_ = false;
    std::vector<uint8_t> outgoing_;
    uint32_t uploadOffset_ = 0;
};

}  // namespace zel::sim
