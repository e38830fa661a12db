#include "menu/win/win_folder_resolver.h"

#include <windows.h>
#include <shlobj.h>

#include "base/win/com.h"
#include "base/win/handles.h"

namespace zurimo {
namespace {

// A path from a call that fills a buffer of MAX_PATH bytes and returns its length.
template <typename Call>
std::string FromBuffer(Call call) {
    char path[MAX_PATH];
    UINT length = call(path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string ProgramFilesPath() {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_READ, &opened) != ERROR_SUCCESS) {
        return std::string();
    }
    UniqueHKey key(opened);
    char path[MAX_PATH + 1] = {};
    DWORD type = 0, size = MAX_PATH;
    if (RegQueryValueExA(key.get(), "ProgramFilesDir", nullptr, &type,
                         reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS ||
        type != REG_SZ || size == 0) {
        return std::string();
    }
    return path;  // terminated: the buffer has a zero past what the value may fill
}

// The identifier list is the task allocator's and goes back to it on every path.
std::string SpecialFolderPath(int number) {
    CoTaskMemory<ITEMIDLIST> list;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, number, list.out())) || !list) return std::string();
    char path[MAX_PATH] = {};
    return SHGetPathFromIDListA(list.get(), path) ? std::string(path) : std::string();
}

}  // namespace

std::string WinFolderResolver::SystemPath(int number) {
    switch (number) {
    case kFolderWindows:
        return FromBuffer([](char* p, UINT n) { return GetWindowsDirectoryA(p, n); });
    case kFolderSystem:
        return FromBuffer([](char* p, UINT n) { return GetSystemDirectoryA(p, n); });
    case kFolderTemporary:
        return FromBuffer([](char* p, UINT n) { return static_cast<UINT>(GetTempPathA(n, p)); });
    case kFolderProgramFiles: return ProgramFilesPath();
    default: return SpecialFolderPath(number);
    }
}

}  // namespace zurimo
