// The library's last error as fetched by ZlGetErrorInfo, text kept exactly as delivered
// (255 characters, blank padded).
#pragma once

#include <QString>
#include <cstdint>

namespace zel {

inline constexpr int kLibErrorTextLength = 255;

struct LibErrorRecord {
    int32_t code = 0;
    QString text;
};

}  // namespace zel
