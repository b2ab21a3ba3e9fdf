// Fetching and showing the library's error record after a failed call.
#pragma once

#include <QString>
#include <cstdint>

#include "common/app_state.h"
#include "link/zel_library.h"

namespace zel {

// Library error code of a resource the controller does not have; tolerated while polling.
inline constexpr int32_t kErrorNotPresent = ZL_ERR_NOT_PRESENT;

// Fills state.LibError from the library for the current connection; returns the fetch's own
// result (1 when the record was filled).
int32_t fetchLibError(ZelLibrary& library, AppState& state);

// The caller's phrase, a line feed, then the library's text exactly as stored.
QString failureText(const QString& phrase, const LibErrorRecord& error);

// A failed read whose fetched error says the resource is absent: not a link failure.
bool isAbsentResource(int32_t fetchResult, const LibErrorRecord& error);

}  // namespace zel
