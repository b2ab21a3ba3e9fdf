#include "json_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zel::sim {

using nlohmann::json;

void shapeError(const std::string& path, const std::string& what) {
    throw JsonShapeError(path.empty() ? what : path + ": " + what);
}

std::string childPath(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string childPath(const std::string& path, size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

void requireObject(const json& j, const std::string& path) {
    if (!j.is_object()) shapeError(path, "must be an object");
}

void requireArray(const json& j, const std::string& path) {
    if (!j.is_array()) shapeError(path, "must be an array");
}

void allowKeys(const json& obj, std::initializer_list<const char*> keys, const std::string& path) {
    requireObject(obj, path);
    for (const auto& item : obj.items()) {
        const bool known =
            std::any_of(keys.begin(), keys.end(), [&](const char* k) { return item.key() == k; });
        if (!known) shapeError(childPath(path, item.key()), "unknown key");
    }
}

int64_t intValue(const json& j, int64_t low, int64_t high, const std::string& path) {
    if (!j.is_number_integer()) shapeError(path, "must be a whole number");
    const int64_t v =
        j.is_number_unsigned() && j.get<uint64_t>() > INT64_MAX ? INT64_MAX : j.get<int64_t>();
    if (v < low || v > high)
        shapeError(path, "must be " + std::to_string(low) + ".." + std::to_string(high));
    return v;
}

double numberValue(const json& j, const std::string& path) {
    if (!j.is_number()) shapeError(path, "must be a number");
    return j.get<double>();
}

int64_t intField(const json& obj, const char* key, int64_t fallback, int64_t low, int64_t high,
                 const std::string& path) {
    if (!obj.contains(key)) return fallback;
    return intValue(obj.at(key), low, high, childPath(path, key));
}

int64_t requiredInt(const json& obj, const char* key, int64_t low, int64_t high,
                    const std::string& path) {
    if (!obj.contains(key)) shapeError(childPath(path, key), "is missing");
    return intValue(obj.at(key), low, high, childPath(path, key));
}

bool boolField(const json& obj, const char* key, bool fallback, const std::string& path) {
    if (!obj.contains(key)) return fallback;
    if (!obj.at(key).is_boolean()) shapeError(childPath(path, key), "must be true or false");
    return obj.at(key).get<bool>();
}

double numberField(const json& obj, const char* key, double fallback, double low, double high,
                   const std::string& path) {
    if (!obj.contains(key)) return fallback;
    const double v = numberValue(obj.at(key), childPath(path, key));
    if (!std::isfinite(v) || v < low || v > high)
        shapeError(childPath(path, key),
                   "must be between " + std::to_string(low) + " and " + std::to_string(high));
    return v;
}

int64_t keyNumber(const std::string& key, int64_t low, int64_t high, const std::string& path) {
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(key.data(), key.data() + key.size(), v);
    if (ec != std::errc() || end != key.data() + key.size())
        shapeError(childPath(path, key), "key must be a number");
    if (v < low || v > high)
        shapeError(childPath(path, key),
                   "key must be " + std::to_string(low) + ".." + std::to_string(high));
    return v;
}

}  // namespace zel::sim
