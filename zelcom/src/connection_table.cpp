#include "connection_table.h"

#include <map>
#include <mutex>

namespace zel::com {
namespace {

struct Table {
    std::mutex mutex;
    std::map<int32_t, std::shared_ptr<Connection>> connections;
    int32_t lastHandle = 0;
};

Table& table() {
    static Table instance;
    return instance;
}

}  // namespace

int32_t addConnection(std::shared_ptr<Connection> connection) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    if (t.lastHandle == INT32_MAX) return 0;
    t.connections.emplace(++t.lastHandle, std::move(connection));
    return t.lastHandle;
}

std::shared_ptr<Connection> findConnection(int32_t handle) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.connections.find(handle);
    return it == t.connections.end() ? nullptr : it->second;
}

bool removeConnection(int32_t handle) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.connections.erase(handle) == 1;
}

}  // namespace zel::com
