// Where a fetch lets pending window events run: the caller's hook runs them and says whether the
// fetch may go on (its window still open, the link still usable).
#pragma once

#include <functional>

namespace zel::status {

using PumpCheck = std::function<bool()>;

}  // namespace zel::status
