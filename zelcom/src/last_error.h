// The per-thread record of the last failed call, read back by ZlGetErrorInfo.
#pragma once

#include "status.h"
#include "zelcom.h"

namespace zel::com {

void setLastError(const Status& status);
// Fills the caller's record: the code, then the text padded with blanks to exactly 255
// characters (longer texts are cut).
void copyLastError(ZlErrorInfo& info);

}  // namespace zel::com
