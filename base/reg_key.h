// CRegKey owns one open registry key and closes it when destroyed; it can be moved, never
// copied. Every operation returns a Windows error code (0 = success).
#pragma once

#include <cstdint>
#include <string>

#include "base/registry.h"

namespace zurimo {

class CRegKey {
public:
    explicit CRegKey(Registry& registry) : registry_(&registry) {}
    ~CRegKey() { Close(); }
    CRegKey(CRegKey&& other) noexcept;
    CRegKey& operator=(CRegKey&& other) noexcept;
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // Opens an existing key (never creates one) for all access. On success a key held
    // before is closed and the new one is held.
    long Open(RegHandle parent, const std::string& subkey);
    // The same, but creates the key (and missing parents) first.
    long Create(RegHandle parent, const std::string& subkey);
    long Close();
    RegHandle Get() const { return key_; }

    // Succeeds only for a REG_DWORD of exactly four bytes; otherwise kErrorBadKey and
    // `out` is left alone.
    long QueryDword(const std::string& name, std::uint32_t* out);
    // Accepts REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ; another type or a missing value gives
    // kErrorBadKey. `size` is the buffer size in bytes in and the bytes copied (with the
    // terminating zero) out. A value that does not fit, terminator included, fails with
    // kErrorMoreData and leaves the buffer as it was.
    long QueryString(const std::string& name, char* buffer, std::uint32_t* size);
    // Writes REG_SZ, including the terminating zero.
    long SetString(const std::string& name, const std::string& text);
    long SetDword(const std::string& name, std::uint32_t value);
    long DeleteValue(const std::string& name);
    long DeleteSubKey(const std::string& name);

    // Closes the key held, then deletes `path` below `parent` with everything under it.
    // `parent` stays the caller's: it is neither held nor closed. Returns the first error met.
    long RecurseDeleteKey(RegHandle parent, const std::string& path);

private:
    long OpenOrCreate(RegHandle parent, const std::string& subkey, bool create);

    Registry* registry_;
    RegHandle key_ = 0;
};

}  // namespace zurimo
