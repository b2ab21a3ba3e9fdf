#include "app/tick_read_cache.h"

namespace zel {

int32_t TickReadCache::ZlGetRegister(int32_t handle, int32_t number, int32_t& value) {
    if (!inTick_) return library_.ZlGetRegister(handle, number, value);
    const auto key = std::pair(handle, number);
    if (const auto known = registers_.constFind(key); known != registers_.constEnd()) {
        value = *known;
        return 1;
    }
    const int32_t result = library_.ZlGetRegister(handle, number, value);
    if (result == 1) registers_.insert(key, value);
    return result;
}

}  // namespace zel
