// Request kinds of the controller protocol, their limits, and the default ports.
#pragma once

#include <cstdint>

namespace zel::codec {

enum class Op : uint16_t {
    GetRegister = 0x10,       // i32 number -> i32 value
    PutRegister = 0x11,       // i32 number, i32 value -> -
    GetRegisterRange = 0x12,  // i32 first, u16 count (1..50) -> count x i32
    GetVRegister = 0x13,      // i32 number -> f64 value
    SetVRegister = 0x14,      // i32 number, f64 value -> -
    PutFlag = 0x15,           // i32 flag, i16 value -> -
    GetStatus = 0x20,         // - -> i32
    PutStatus = 0x21,         // i32 -> -
    GetModel = 0x22,          // - -> i32 model, i32 second
    GetConfig = 0x23,         // - -> i32
    PutConfig = 0x24,         // i32 -> -
    GetIoCount = 0x25,        // - -> 7 x i32
    GetMiscIoCount = 0x26,    // - -> 4 x i32
    GetTaskBank = 0x27,       // i32 bank -> 28 x i32
    GetTableDim = 0x30,       // - -> i32 rows, i32 columns
    GetTableRow = 0x31,       // i32 row, i32 first, i32 last -> n x u16
    PutTableRow = 0x32,       // i32 row, i32 first, i32 last, n x i16 -> -
    SendData = 0x40,          // u8 kind, raw packet -> raw reply
    DownloadBegin = 0x50,     // u32 size -> -
    DownloadChunk = 0x51,     // u32 offset, bytes -> -
    DownloadEnd = 0x52,       // u32 crc32 of the whole -> i32 checksum, bytes, errors, warnings
    UploadBegin = 0x53,       // - -> u32 size, u32 crc32
    UploadChunk = 0x54,       // u32 offset, u16 length -> bytes
};

inline constexpr int kMaxRegisterRange = 50;
inline constexpr int kMaxTableColumns = 256;
inline constexpr int kMaxRawPacket = 512;
inline constexpr int kProgramChunk = 1024;
inline constexpr uint32_t kMaxProgramSize = 4u << 20;
inline constexpr int kTaskBankWords = 28;

inline constexpr uint16_t kDefaultTcpPort = 7401;
inline constexpr uint16_t kDefaultUdpPort = 7401;
// A ZelNET node n listens on UDP port kDefaultZelnetBase + n.
inline constexpr uint16_t kDefaultZelnetBase = 7500;

}  // namespace zel::codec
