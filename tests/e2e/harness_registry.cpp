// The program's settings in the registry, read and written as another program would.
#include "harness.h"

namespace e2e {
namespace {

UniqueHKey OpenSettings(bool create) {
    if (create) return CreateUserKey(kSettingsKey);
    HKEY key = nullptr;
    LONG error = RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key);
    return UniqueHKey(error == ERROR_SUCCESS ? key : nullptr);
}

}  // namespace

void ResetSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kestro!"); }

UniqueHKey CreateUserKey(const char* path) {
    HKEY key = nullptr;
    LONG error = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr);
    return UniqueHKey(error == ERROR_SUCCESS ? key : nullptr);
}

void SetDword(const char* name, DWORD value) {
    UniqueHKey key = OpenSettings(true);
    RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

void SetString(const char* name, const std::string& value) {
    UniqueHKey key = OpenSettings(true);
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

AssertionResult ReadDword(const char* name, DWORD* value) {
    UniqueHKey key = OpenSettings(false);
    if (!key) return testing::AssertionFailure() << "no Settings key";
    DWORD type = 0, size = sizeof *value;
    LONG error = RegQueryValueExA(key.get(), name, nullptr, &type,
                                  reinterpret_cast<BYTE*>(value), &size);
    if (error == ERROR_SUCCESS && type == REG_DWORD && size == 4) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << name << ": error " << error << ", type " << type
                                       << ", " << size << " bytes";
}

AssertionResult ReadString(const char* name, std::string* value) {
    UniqueHKey key = OpenSettings(false);
    if (!key) return testing::AssertionFailure() << "no Settings key";
    char buffer[1024] = {};
    DWORD type = 0, size = sizeof buffer - 1;
    LONG error = RegQueryValueExA(key.get(), name, nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer), &size);
    if (error != ERROR_SUCCESS || type != REG_SZ) {
        return testing::AssertionFailure() << name << ": error " << error << ", type " << type;
    }
    *value = buffer;
    return testing::AssertionSuccess();
}

bool ValueExists(const char* name, DWORD* type) {
    UniqueHKey key = OpenSettings(false);
    if (!key) return false;
    DWORD t = 0;
    LONG error = RegQueryValueExA(key.get(), name, nullptr, &t, nullptr, nullptr);
    if (type) *type = t;
    return error == ERROR_SUCCESS;
}

}  // namespace e2e
