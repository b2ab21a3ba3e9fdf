// Lets pending window events run in the middle of a long operation. The application passes
// QCoreApplication::processEvents; tests pass a hook that may click or close things.
#pragma once

#include <functional>

namespace zel {

using EventPump = std::function<void()>;

}  // namespace zel
