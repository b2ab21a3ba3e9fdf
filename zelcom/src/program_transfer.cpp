#include "program_transfer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "frame.h"
#include "wire.h"

namespace zel::com {
namespace {

Status fileError(const std::string& path) {
    return failure(ZL_ERR_FILE, path + ": " + std::strerror(errno));
}

Status readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) return fileError(path);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return fileError(path);
    if (bytes.size() > codec::kMaxProgramSize)
        return failure(ZL_ERR_FILE, path + ": larger than a program can be");
    return Status::success();
}

Status sendChunks(Connection& connection, const std::vector<uint8_t>& program) {
    std::span<const uint8_t> reply;
    for (size_t offset = 0; offset < program.size(); offset += codec::kProgramChunk) {
        const size_t length = std::min<size_t>(codec::kProgramChunk, program.size() - offset);
        codec::ByteWriter& chunk = connection.body();
        chunk.u32(static_cast<uint32_t>(offset));
        chunk.bytes({program.data() + offset, length});
        if (Status s = connection.request(codec::Op::DownloadChunk, reply); !s.ok()) return s;
    }
    return Status::success();
}

Status receiveChunks(Connection& connection, uint32_t size, std::vector<uint8_t>& program) {
    std::span<const uint8_t> reply;
    program.clear();
    while (program.size() < size) {
        const size_t length = std::min<size_t>(codec::kProgramChunk, size - program.size());
        codec::ByteWriter& ask = connection.body();
        ask.u32(static_cast<uint32_t>(program.size()));
        ask.u16(static_cast<uint16_t>(length));
        if (Status s = connection.request(codec::Op::UploadChunk, reply); !s.ok()) return s;
        if (reply.size() != length) return failure(ZL_ERR_BAD_REPLY, "program chunk length");
        program.insert(program.end(), reply.begin(), reply.end());
    }
    return Status::success();
}

Status writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return fileError(temporary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            Status s = fileError(temporary);
            std::remove(temporary.c_str());
            return s;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        Status s = fileError(path);
        std::remove(temporary.c_str());
        return s;
    }
    return Status::success();
}

}  // namespace

Status downloadProgram(Connection& connection, const std::string& path, ZlTransferResult& result) {
    std::vector<uint8_t> program;
    if (Status s = readWholeFile(path, program); !s.ok()) return s;
    std::span<const uint8_t> reply;
    connection.body().u32(static_cast<uint32_t>(program.size()));
    if (Status s = connection.request(codec::Op::DownloadBegin, reply); !s.ok()) return s;
    if (Status s = sendChunks(connection, program); !s.ok()) return s;
    connection.body().u32(codec::crc32(program));
    if (Status s = connection.request(codec::Op::DownloadEnd, reply); !s.ok()) return s;
    codec::ByteReader r(reply);
    const auto checksum = r.i32(), bytes = r.i32(), errors = r.i32(), warnings = r.i32();
    if (!r.done()) return failure(ZL_ERR_BAD_REPLY, "download result");
    result = {*checksum, *bytes, *errors, *warnings};
    return Status::success();
}

Status uploadProgram(Connection& connection, const std::string& path, ZlTransferResult& result) {
    std::span<const uint8_t> reply;
    if (Status s = connection.request(codec::Op::UploadBegin, reply); !s.ok()) return s;
    codec::ByteReader r(reply);
    const auto size = r.u32(), crc = r.u32();
    if (!r.done() || *size > codec::kMaxProgramSize)
        return failure(ZL_ERR_BAD_REPLY, "upload size");
    std::vector<uint8_t> program;
    if (Status s = receiveChunks(connection, *size, program); !s.ok()) return s;
    if (codec::crc32(program) != *crc) return failure(ZL_ERR_BAD_REPLY, "program checksum");
    if (Status s = writeWholeFile(path, program); !s.ok()) return s;
    result = {static_cast<int32_t>(*crc), static_cast<int32_t>(program.size()), 0, 0};
    return Status::success();
}

}  // namespace zel::com
