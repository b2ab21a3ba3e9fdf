// Outcome of an internal library step: an error code of zelcom.h (0 = success) and an optional
// detail that is appended to the code's fixed text, such as the device and the system's reason.
#pragma once

#include <cstdint>
#include <string>

namespace zel::com {

struct Status {
    int32_t code = 0;
    std::string detail;

    bool ok() const { return code == 0; }
    static Status success() { return {}; }
};

inline Status failure(int32_t code, std::string detail = {}) { return {code, std::move(detail)}; }

}  // namespace zel::com
