// The fixed texts of the library's error codes.
#pragma once

#include <cstdint>
#include <string>

namespace zel::codec {

// The text for an error code; a code without a text of its own reads "Controller error <n>".
std::string errorText(int32_t code);

}  // namespace zel::codec
