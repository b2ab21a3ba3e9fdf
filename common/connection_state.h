// What is known about the open connection and the controller behind it.
#pragma once

#include <QString>
#include <cstdint>
#include <limits>

#include "common/io_counts.h"

namespace zel {

// ControllerStatusBits and InputConfigBits hold this until they have been read.
inline constexpr int32_t kUnknownWord = std::numeric_limits<int32_t>::min();

struct ConnectionState {
    int32_t CommHandle = 0;  // library handle, 0 for none
    int32_t OpenedCommType = 0;
    bool Connected = false;
    bool LinkConfigured = false;
    bool ConnectFailedBefore = false;
    int32_t FailedConnections = 0;  // failed attempts counted in the status line
    QString ConnectionCaption;      // appended to every window title
    int32_t ModelCode = -1;         // -1 until a controller has told its model
    bool EATypeController = false;
    IOCounts Counts;
    int32_t TaskCount = 0;
    int32_t ControllerStatusBits = kUnknownWord;
    int32_t InputConfigBits = kUnknownWord;
};

}  // namespace zel
