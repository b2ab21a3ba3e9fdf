// Fetching and showing the library's error record after a failed call.
#pragma once

#include <QString>
#include <cstdint>

#include "common/app_state.h"
#include "link/zel_library.h"

namespace zel {

// Library error code of a resource the controller does not have; tolerated while polling.
inline constexpr int32_t kErrorNotPresent = 216;

// Library error code of a request the controller does not know, as an older model answers a
// block read.
inline constexpr int32_t kErrorUnknownRequest = 201;

// Code of a failure the monitor found before asking the library, such as a host name that did
// not resolve; the text says what it was.
inline constexpr int32_t kMonitorError = -2;

// Such a failure as an error record, its text padded as the library pads its own.
LibErrorRecord monitorError(const QString& text);

// Fills state.LibError from the library for the current connection; returns the fetch's own
// result (1 when the record was filled).
int32_t fetchLibError(ZelLibrary& library, AppState& state);

// The caller's phrase, a line feed, then the library's text exactly as stored.
QString failureText(const QString& phrase, const LibErrorRecord& error);

// A failed call refused while the link still works: the controller's own refusals (its codes run
// from 200 to 299) and arguments the library would not send (102). Other requests may succeed.
bool refusedOnWorkingLink(int32_t fetchResult, const LibErrorRecord& error);

// A failed read whose fetched error says the resource is absent: not a link failure.
bool isAbsentResource(int32_t fetchResult, const LibErrorRecord& error);

}  // namespace zel
