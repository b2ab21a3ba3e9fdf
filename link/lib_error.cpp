#include "link/lib_error.h"

namespace zel {

int32_t fetchLibError(ZelLibrary& library, AppState& state) {
    return library.ZlGetErrorInfo(state.connection.CommHandle, state.LibError);
}

LibErrorRecord monitorError(const QString& text) {
    return {kMonitorError, text.left(kLibErrorTextLength).leftJustified(kLibErrorTextLength, u' ')};
}

QString failureText(const QString& phrase, const LibErrorRecord& error) {
    return phrase + u'\n' + error.text;
}

bool isAbsentResource(int32_t fetchResult, const LibErrorRecord& error) {
    return fetchResult == 1 && error.code == kErrorNotPresent;
}

bool refusedOnWorkingLink(int32_t fetchResult, const LibErrorRecord& error) {
    constexpr int32_t kBadArgument = 102;
    return fetchResult == 1 &&
           (error.code == kBadArgument || (error.code >= 200 && error.code < 300));
}

}  // namespace zel
