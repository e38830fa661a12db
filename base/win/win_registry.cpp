#include "base/win/win_registry.h"

#include <windows.h>

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

Registry& SystemRegistry() {
    static WinRegistry registry;
    return registry;
}

}  // namespace zurimo
