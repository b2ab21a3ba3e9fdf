// The process's open connections by handle. Handles count up from 1 and are never reused, so
// a handle kept after its close fails cleanly instead of reaching a newer connection.
#pragma once

#include <cstdint>
#include <memory>

#include "connection.h"

namespace zel::com {

int32_t addConnection(std::shared_ptr<Connection> connection);
// Null for an unknown or closed handle.
std::shared_ptr<Connection> findConnection(int32_t handle);
bool removeConnection(int32_t handle);

}  // namespace zel::com
