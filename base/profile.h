// The application's profile: sections are subkeys of the application key under
// HKEY_CURRENT_USER, created on first access. Reads fall back to the caller's default.
#pragma once

#include <cstdint>
#include <string>

#include "base/reg_key.h"
#include "base/registry.h"

namespace zurimo {

class Profile {
public:
    Profile(Registry& registry, std::string appKey)
        : registry_(registry), appKey_(std::move(appKey)) {}

    // A REG_DWORD of four bytes, or `fallback` when the value is missing or of another kind.
    std::uint32_t GetInt(const std::string& section, const std::string& entry,
                         std::uint32_t fallback);
    // A REG_SZ or REG_EXPAND_SZ up to its first zero, or `fallback`.
    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& fallback);
    bool WriteInt(const std::string& section, const std::string& entry, std::uint32_t value);
    bool WriteString(const std::string& section, const std::string& entry,
                     const std::string& value);

    Registry& registry() { return registry_; }
    const std::string& appKey() const { return appKey_; }

private:
    // The section key, created when missing; holds no key when that fails.
    CRegKey OpenSection(const std::string& section);

    Registry& registry_;
    std::string appKey_;
};

}  // namespace zurimo
