// Typed, range-checked access to JSON fields; failures name the path of the bad field.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace zel::sim {

// A document that does not describe what it should; what() says where and why.
class JsonShapeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

[[noreturn]] void shapeError(const std::string& path, const std::string& what);

std::string childPath(const std::string& path, const std::string& key);
std::string childPath(const std::string& path, size_t index);

void requireObject(const nlohmann::json& j, const std::string& path);
void requireArray(const nlohmann::json& j, const std::string& path);
// Rejects keys not in the list, so a misspelt key is reported instead of ignored.
void allowKeys(const nlohmann::json& obj, std::initializer_list<const char*> keys,
               const std::string& path);

int64_t intValue(const nlohmann::json& j, int64_t low, int64_t high, const std::string& path);
double numberValue(const nlohmann::json& j, const std::string& path);
int64_t intField(const nlohmann::json& obj, const char* key, int64_t fallback, int64_t low,
                 int64_t high, const std::string& path);
int64_t requiredInt(const nlohmann::json& obj, const char* key, int64_t low, int64_t high,
                    const std::string& path);
double numberField(const nlohmann::json& obj, const char* key, double fallback, double low,
                   double high, const std::string& path);
bool boolField(const nlohmann::json& obj, const char* key, bool fallback,
               const std::string& path);
// A key of an object used as a number ("1001": ...).
int64_t keyNumber(const std::string& key, int64_t low, int64_t high, const std::string& path);

}  // namespace zel::sim
