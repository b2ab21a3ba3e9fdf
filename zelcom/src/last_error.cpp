#include "last_error.h"

#include <algorithm>
#include <cstring>

#include "error_text.h"

namespace zel::com {
namespace {

thread_local Status lastError;

}  // namespace

void setLastError(const Status& status) { lastError = status; }

void copyLastError(ZlErrorInfo& info) {
    std::string text = codec::errorText(lastError.code);
    if (!lastError.detail.empty()) text += ": " + lastError.detail;
    info.code = lastError.code;
    std::memset(info.text, ' ', sizeof info.text);
    std::memcpy(info.text, text.data(), std::min(text.size(), sizeof info.text));
}

}  // namespace zel::com
