// The library's entry points as resolved from a loaded file.
#pragma once

#include <QString>

#include "zelcom.h"

namespace zel {

// clang-format off
#define ZEL_LIBRARY_SYMBOLS(X) \
    X(ZlOpenConnection) \
    X(ZlOpenNetConnection) \
    X(ZlInitConnection) \
    X(ZlSetConnectionTimeout) \
    X(ZlCloseConnection) \
    X(ZlGetAvailableAdaptersIPList) \
    X(ZlSetAdapter) \
    X(ZlGetErrorInfo) \
    X(ZlGetRegister) \
    X(ZlPutRegister) \
    X(ZlGetRegister16) \
    X(ZlGetRegister50) \
    X(ZlGetVRegister) \
    X(ZlSetVRegister) \
    X(ZlPutFlag) \
    X(ZlGetStatus) \
    X(ZlPutStatus) \
    X(ZlGetModel) \
    X(ZlGetConfig) \
    X(ZlPutConfig) \
    X(ZlGetIoCount) \
    X(ZlGetMiscIoCount) \
    X(ZlGetTaskBank) \
    X(ZlGetDataTableDim) \
    X(ZlGetDataTableRow) \
    X(ZlPutDataTableRow) \
    X(ZlDownload) \
    X(ZlUpload) \
    X(ZlSendData) \
    X(ZlSendAscii)
// clang-format on

// One function pointer per entry point, named like the entry point.
struct ZelSymbols {
#define ZEL_DECLARE_SYMBOL(name) decltype(&::name) name = nullptr;
    ZEL_LIBRARY_SYMBOLS(ZEL_DECLARE_SYMBOL)
#undef ZEL_DECLARE_SYMBOL
};

// Looks every entry point up in a dlopen handle. Returns the loader's message for the first
// one missing, or an empty text when all were found.
QString resolveSymbols(void* library, ZelSymbols& symbols);

}  // namespace zel
