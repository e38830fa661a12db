#include "base/profile.h"

#include <cstring>
#include <vector>

namespace zurimo {
namespace {

// Closes the section key when a profile call is done with it.
struct SectionKey {
    Registry& registry;
    RegHandle key;
    ~SectionKey() {
        if (key) registry.CloseKey(key);
    }
};

// Strings longer than this are not settings; such a value is treated as missing.
constexpr std::uint32_t kMaxProfileString = 1 << 20;

}  // namespace

RegHandle Profile::OpenSection(const std::string& section) {
    RegHandle key = 0;
    if (registry_.OpenKey(kHkeyCurrentUser, appKey_ + "\\" + section, true, &key) !=
        kErrorSuccess) {
        return 0;
    }
    return key;
}

std::uint32_t Profile::GetInt(const std::string& section, const std::string& entry,
                              std::uint32_t fallback) {
    SectionKey key{registry_, OpenSection(section)};
    if (!key.key) return fallback;
    std::uint32_t type = 0;
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    if (registry_.QueryValue(key.key, entry, &type, &value, &size) != kErrorSuccess ||
        type != kRegDword || size != sizeof value) {
        return fallback;
    }
    return value;
}

std::string Profile::GetString(const std::string& section, const std::string& entry,
                               const std::string& fallback) {
    SectionKey key{registry_, OpenSection(section)};
    if (!key.key) return fallback;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry_.QueryValue(key.key, entry, &type, nullptr, &size) != kErrorSuccess ||
        (type != kRegSz && type != kRegExpandSz) || size > kMaxProfileString) {
        return fallback;
    }
    std::vector<char> bytes(size + 1, '\0');
    if (registry_.QueryValue(key.key, entry, &type, bytes.data(), &size) != kErrorSuccess) {
        return fallback;
    }
    return std::string(bytes.data(), strnlen(bytes.data(), size));
}

bool Profile::WriteInt(const std::string& section, const std::string& entry,
                       std::uint32_t value) {
    SectionKey key{registry_, OpenSection(section)};
    return key.key &&
           registry_.SetValue(key.key, entry, kRegDword, &value, sizeof value) == kErrorSuccess;
}

bool Profile::WriteString(const std::string& section, const std::string& entry,
                          const std::string& value) {
    SectionKey key{registry_, OpenSection(section)};
    return key.key && registry_.SetValue(key.key, entry, kRegSz, value.c_str(),
                                         static_cast<std::uint32_t>(value.size() + 1)) ==
                          kErrorSuccess;
}

}  // namespace zurimo
