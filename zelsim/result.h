// Outcome of a controller operation: a protocol error code (0 = success) and, on success, a value.
#pragma once

#include <utility>

#include "zelcom.h"

namespace zel::sim {

using ErrorCode = int;

template <typename T>
struct Result {
    ErrorCode error = ZL_OK;
    T value{};

    bool ok() const { return error == ZL_OK; }
};

template <typename T>
Result<T> success(T value) {
    return Result<T>{ZL_OK, std::move(value)};
}

template <typename T>
Result<T> failure(ErrorCode code) {
    return Result<T>{code, T{}};
}

}  // namespace zel::sim
