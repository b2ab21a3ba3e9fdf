// Readable text for a controller software fault.
#pragma once

#include <QString>
#include <cstdint>

namespace zel {

// The phrase for the fault code (with its datum where the fault names a resource) followed by
// "      - (fault code #<code>)". The caller appends it to its own "faulted in step" text.
QString FaultCodeText(int32_t faultCode, int32_t faultDatum);

}  // namespace zel
