#include "app/tick_read_cache.h"

namespace zel {

int32_t TickReadCache::ZlGetRegister(int32_t handle, int32_t number, int32_t& value) {
    if (!inTick_) return inner().ZlGetRegister(handle, number, value);
    const auto key = std::pair(handle, number);
    if (const auto known = registers_.constFind(key); known != registers_.constEnd()) {
        value = *known;
        return 1;
    }
    const int32_t result = inner().ZlGetRegister(handle, number, value);
    if (result == 1) registers_.insert(key, value);
    return result;
}

// Reads and the library's own settings leave the controller as it was; anything else, a raw
// packet included, may have written what was read.
int32_t TickReadCache::pass(ZelCall call, CallNumbers, InnerCall run) {
    const CallEffect effect = callTraits(call).effect;
    if (effect != CallEffect::Reads && effect != CallEffect::Library) registers_.clear();
    return run();
}

}  // namespace zel
