// Which generation of the communication library is in use, read from the product version in
// the library file's name (libzelcom.so.A.B.C.D).
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "link/zel_library.h"

namespace zel {

using ProductVersion = std::array<int, 4>;

// The four numbers of a name ending in libzelcom.so.A.B.C.D, if it has them.
std::optional<ProductVersion> productVersionOf(const QString& libraryFile);

// 1 when the file exists and carries product version 3.0.3.1 or later, else 0.
int SelectCommFunction(const QString& libraryFile);
// The same for the file a loaded library was mapped from; 0 while nothing is loaded.
int SelectCommFunction(const ZelLibrary& library);

}  // namespace zel
