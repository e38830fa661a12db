#include "base/win/win_registry.h"

#include <windows.h>

#include "base/win/handles.h"

namespace zurimo {
namespace {

HKEY Key(RegHandle handle) { return reinterpret_cast<HKEY>(handle); }

}  // namespace

long WinRegistry::OpenKey(RegHandle parent, const std::string& subkey, bool create,
                          RegHandle* out) {
    HKEY key = nullptr;
    LONG error = create ? RegCreateKeyExA(Key(parent), subkey.c_str(), 0, nullptr,
                                          REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                          &key, nullptr)
                        : RegOpenKeyExA(Key(parent), subkey.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (error == ERROR_SUCCESS) *out = reinterpret_cast<RegHandle>(key);
    return error;
}

long WinRegistry::CloseKey(RegHandle key) { return RegCloseKey(Key(key)); }

long WinRegistry::QueryValue(RegHandle key, const std::string& name, std::uint32_t* type,
                             void* data, std::uint32_t* size) {
    DWORD t = 0;
    DWORD n = size ? *size : 0;
    LONG error = RegQueryValueExA(Key(key), name.c_str(), nullptr, &t,
                                  static_cast<BYTE*>(data), size ? &n : nullptr);
    if (error == ERROR_SUCCESS && type) *type = t;
    if ((error == ERROR_SUCCESS || error == ERROR_MORE_DATA) && size) *size = n;
    return error;
}

long WinRegistry::SetValue(RegHandle key, const std::string& name, std::uint32_t type,
                           const void* data, std::uint32_t size) {
    return RegSetValueExA(Key(key), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

long WinRegistry::DeleteValue(RegHandle key, const std::string& name) {
    return RegDeleteValueA(Key(key), name.c_str());
}

long WinRegistry::DeleteKey(RegHandle key, const std::string& subkey) {
    return RegDeleteKeyA(Key(key), subkey.c_str());
}

long WinRegistry::EnumKey(RegHandle key, std::uint32_t index, char* name,
                          std::uint32_t* size) {
    DWORD n = *size;
    LONG error = RegEnumKeyExA(Key(key), index, name, &n, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_SUCCESS) *size = n;
    return error;
}

namespace {

// Made when the module loads: no guarded local static, which the extension library must
// not reach.
WinRegistry systemRegistry;

}  // namespace

Registry& SystemRegistry() { return systemRegistry; }

namespace {

// Value names of the program are ASCII.
std::wstring WideName(const std::string& name) { return std::wstring(name.begin(), name.end()); }

}  // namespace

std::u16string ReadUserWideString(const std::string& subkey, const std::string& name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return std::u16string();
    }
    UniqueHKey key(opened);
    const std::wstring valueName = WideName(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > (1u << 20)) {
        return std::u16string();
    }
    std::u16string value(size / sizeof(char16_t) + 1, u'\0');
    DWORD got = static_cast<DWORD>(value.size() * sizeof(char16_t));
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value[0]), &got) != ERROR_SUCCESS) {
        return std::u16string();
    }
    value.resize(got / sizeof(char16_t));
    value.resize(std::char_traits<char16_t>::length(value.c_str()));  // up to the first zero
    return value;
}

bool WriteUserWideString(const std::string& subkey, const std::string& name,
                         const std::u16string& value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &opened, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    UniqueHKey key(opened);
    return RegSetValueExW(key.get(), WideName(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(char16_t))) == ERROR_SUCCESS;
}

}  // namespace zurimo
