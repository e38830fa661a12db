#include "base/profile.h"

#include <cstring>
#include <vector>

namespace zurimo {
namespace {

// Strings longer than this are not settings; such a value is treated as missing.
constexpr std::uint32_t kMaxProfileString = 1 << 20;

}  // namespace

CRegKey Profile::OpenSection(const std::string& section) {
    CRegKey key(registry_);
    key.Create(kHkeyCurrentUser, appKey_ + "\\" + section);
    return key;
}

std::uint32_t Profile::GetInt(const std::string& section, const std::string& entry,
                              std::uint32_t fallback) {
    CRegKey key = OpenSection(section);
    std::uint32_t value = fallback;
    if (key.Get()) key.QueryDword(entry, &value);  // leaves the fallback on any failure
    return value;
}

std::string Profile::GetString(const std::string& section, const std::string& entry,
                               const std::string& fallback) {
    CRegKey key = OpenSection(section);
    if (!key.Get()) return fallback;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry_.QueryValue(key.Get(), entry, &type, nullptr, &size) != kErrorSuccess ||
        (type != kRegSz && type != kRegExpandSz) || size > kMaxProfileString) {
        return fallback;
    }
    std::vector<char> bytes(size + 1, '\0');
    if (registry_.QueryValue(key.Get(), entry, &type, bytes.data(), &size) != kErrorSuccess) {
        return fallback;
    }
    return std::string(bytes.data(), strnlen(bytes.data(), size));
}

bool Profile::WriteInt(const std::string& section, const std::string& entry,
                       std::uint32_t value) {
    CRegKey key = OpenSection(section);
    return key.Get() && key.SetDword(entry, value) == kErrorSuccess;
}

bool Profile::WriteString(const std::string& section, const std::string& entry,
                          const std::string& value) {
    CRegKey key = OpenSection(section);
    return key.Get() && key.SetString(entry, value) == kErrorSuccess;
}

}  // namespace zurimo
