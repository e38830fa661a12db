#include "host.h"

#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace shellext_test {

const CLSID kClsid = {0x7A31C2E4, 0x5B6D, 0x4E8F, {0x9A, 0x0B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};
const IID kOwnIid = {0x7A31C2E3, 0x5B6D, 0x4E8F, {0x9A, 0x0B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};

namespace {

std::string Directory(const std::string& path) { return path.substr(0, path.rfind('\\')); }

AssertionResult Failed(const std::string& what) {
    return testing::AssertionFailure() << what << ": error " << GetLastError();
}

std::wstring Widened(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

// With the wide calls: names the code page cannot hold go too.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
        std::wstring path = folder + L"\\" + found.cFileName;
        if (!wcscmp(found.cFileName, L".") || !wcscmp(found.cFileName, L"..")) continue;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            DeleteFileW(path.c_str());
        }
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

std::string Hr(HRESULT hr) {
    char text[16];
    snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(hr));
    return text;
}

std::string LibraryPath() {
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZURIMO_BIN", path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return std::string(path) + "\\ZurimoEx.dll";
    n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return Directory(Directory(std::string(path, n))) + "\\bin\\ZurimoEx.dll";
}

AssertionResult Library::Load() {
    module.reset(LoadLibraryA(LibraryPath().c_str()));
    if (!module) return Failed("cannot load " + LibraryPath());
    std::string missing;
    // Through void*: the exports' real types are not FARPROC.
    auto find = [&](auto* function, const char* name) {
        void* found = reinterpret_cast<void*>(GetProcAddress(module.get(), name));
        *function = reinterpret_cast<std::remove_reference_t<decltype(*function)>>(found);
        if (!found) missing += std::string(" ") + name;
    };
    find(&getClassObject, "DllGetClassObject");
    find(&canUnloadNow, "DllCanUnloadNow");
    find(&getVersion, "DllGetVersion");
    find(&registerServer, "DllRegisterServer");
    find(&unregisterServer, "DllUnregisterServer");
    if (missing.empty()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "missing exports:" << missing;
}

std::string Library::path() const {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module.get(), path, MAX_PATH);
    return path;
}

namespace allocation_faults {
namespace {

LONG g_count = 0;
LONG g_failAt = 0;
LONG g_reached = 0;

using Malloc = void*(__cdecl*)(size_t);
using Calloc = void*(__cdecl*)(size_t, size_t);
using Realloc = void*(__cdecl*)(void*, size_t);
using Strdup = char*(__cdecl*)(const char*);
Malloc g_malloc = malloc;
Calloc g_calloc = calloc;
Realloc g_realloc = realloc;
Strdup g_strdup = _strdup;

bool FailsNow() {
    if (InterlockedIncrement(&g_count) != g_failAt) return false;
    InterlockedExchange(&g_reached, 1);
    return true;
}

void* __cdecl CountedMalloc(size_t size) { return FailsNow() ? nullptr : g_malloc(size); }
void* __cdecl CountedCalloc(size_t count, size_t size) {
    return FailsNow() ? nullptr : g_calloc(count, size);
}
// realloc(p, 0) frees: it is not counted.
void* __cdecl CountedRealloc(void* block, size_t size) {
    return size != 0 && FailsNow() ? nullptr : g_realloc(block, size);
}
char* __cdecl CountedStrdup(const char* text) { return FailsNow() ? nullptr : g_strdup(text); }

// The wrapper for an imported function of the C runtime, or null.
void* Wrapper(const char* name) {
    if (!strcmp(name, "malloc")) return reinterpret_cast<void*>(CountedMalloc);
    if (!strcmp(name, "calloc")) return reinterpret_cast<void*>(CountedCalloc);
    if (!strcmp(name, "realloc")) return reinterpret_cast<void*>(CountedRealloc);
    if (!strcmp(name, "_strdup")) return reinterpret_cast<void*>(CountedStrdup);
    return nullptr;
}

bool IsRuntime(const char* dll) {
    return !_stricmp(dll, "msvcrt.dll") || !_strnicmp(dll, "api-ms-win-crt-", 15) ||
           !_stricmp(dll, "ucrtbase.dll");
}

}  // namespace

AssertionResult Attach(HMODULE module) {
    auto base = reinterpret_cast<BYTE*>(module);
    auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return testing::AssertionFailure() << "no imports";
    std::string patched;
    for (auto d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name; ++d) {
        if (!IsRuntime(reinterpret_cast<const char*>(base + d->Name))) continue;
        auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            void* wrapper = Wrapper(reinterpret_cast<const char*>(byName->Name));
            if (!wrapper) continue;
            DWORD protection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                                &protection)) {
                return Failed("VirtualProtect");
            }
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(wrapper);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection,
                           &protection);
            patched += std::string(" ") + reinterpret_cast<const char*>(byName->Name);
        }
    }
    if (patched.find(" malloc") != std::string::npos) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no malloc import to count; patched:" << patched;
}

void Arm(long failAt) {
    InterlockedExchange(&g_count, 0);
    InterlockedExchange(&g_reached, 0);
    InterlockedExchange(&g_failAt, failAt);
}

long Count() { return g_count; }
bool Reached() { return g_reached != 0; }

}  // namespace allocation_faults

AssertionResult Extension::Create(const Library& library) {
    Com<IClassFactory> factory;
    HRESULT hr = library.getClassObject(kClsid, IID_IClassFactory, factory.out());
    if (hr == S_OK) hr = factory->CreateInstance(nullptr, IID_IShellExtInit, init_.out());
    if (hr == S_OK) hr = init_->QueryInterface(IID_IContextMenu, menu_.out());
    if (hr == S_OK && init_ && menu_) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no object with IShellExtInit and IContextMenu: "
                                       << Hr(hr);
}

HRESULT Extension::InvokeVerb(const char* verb) {
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return menu_->InvokeCommand(&info);
}

std::string Extension::HelpText(UINT offset, UINT size, UINT type, HRESULT* result) {
    std::string buffer(size + 16, '\x7f');
    HRESULT hr = menu_->GetCommandString(offset, type, nullptr, &buffer[0], size);
    if (result) *result = hr;
    if (buffer.find_first_not_of('\x7f') == std::string::npos) return "<untouched>";
    if (buffer.find_first_not_of('\x7f', size) != std::string::npos) return "<overran>";
    return buffer.substr(0, buffer.find('\0'));
}

std::vector<std::string> MenuLines(HMENU menu, const std::string& indent) {
    std::vector<std::string> lines;
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
        char caption[256] = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = caption;
        item.cch = sizeof caption;
        if (!GetMenuItemInfoA(menu, i, TRUE, &item)) {
            lines.push_back(indent + "<unreadable>");
        } else if (item.fType & MFT_SEPARATOR) {
            lines.push_back(indent + "-");
        } else if (item.hSubMenu) {
            lines.push_back(indent + "> " + caption);
            for (const std::string& line : MenuLines(item.hSubMenu, indent + "  ")) {
                lines.push_back(line);
            }
        } else {
            lines.push_back(indent + std::to_string(item.wID) + " " + caption);
        }
    }
    return lines;
}

AssertionResult SetClipboardText(const std::string& text) {
    zurimo::ClipboardOpen clipboard(nullptr);
    zurimo::UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!clipboard || !block || !EmptyClipboard()) return Failed("cannot empty the clipboard");
    memcpy(zurimo::GlobalLockGuard(block.get()).get(), text.c_str(), text.size() + 1);
    if (!SetClipboardData(CF_TEXT, block.get())) return Failed("SetClipboardData");
    (void)block.release();  // the clipboard's now
    return testing::AssertionSuccess();
}

std::string ClipboardText() {
    zurimo::ClipboardOpen clipboard(nullptr);
    HANDLE data = clipboard ? GetClipboardData(CF_TEXT) : nullptr;
    if (!data) return clipboard ? "<none>" : "<not open>";
    zurimo::GlobalLockGuard lock(data);
    const char* text = static_cast<const char*>(lock.get());
    return text ? std::string(text, strnlen(text, GlobalSize(data))) : "<unreadable>";
}

std::wstring ClipboardWideText() {
    zurimo::ClipboardOpen clipboard(nullptr);
    HANDLE data = clipboard ? GetClipboardData(CF_UNICODETEXT) : nullptr;
    if (!data) return clipboard ? L"<none>" : L"<not open>";
    zurimo::GlobalLockGuard lock(data);
    const wchar_t* text = static_cast<const wchar_t*>(lock.get());
    return text ? std::wstring(text, wcsnlen(text, GlobalSize(data) / sizeof(wchar_t)))
                : L"<unreadable>";
}

bool UnicodeTextPut() {
    zurimo::ClipboardOpen clipboard(nullptr);
    for (UINT format = clipboard ? EnumClipboardFormats(0) : 0; format;
         format = EnumClipboardFormats(format)) {
        if (format == CF_TEXT) return false;
        if (format == CF_UNICODETEXT) return true;
    }
    return false;
}

void ResetUser() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kestro!"); }

AssertionResult PutValue(HKEY root, const std::string& key, const char* name, DWORD type,
                         const std::string& bytes) {
    HKEY opened = nullptr;
    LONG error = RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &opened, nullptr);
    UniqueHKey owner(error ? nullptr : opened);
    if (!error) {
        error = RegSetValueExA(opened, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size()));
    }
    if (!error) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "cannot write " << key << "\\" << name << ": " << error;
}

AssertionResult PutDword(const std::string& key, const char* name, DWORD value) {
    return PutValue(HKEY_CURRENT_USER, key, name, REG_DWORD,
                    std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

AssertionResult PutSettings(DWORD limit, DWORD separator, DWORD hierarchy, DWORD userMenu) {
    std::string key = std::string(kAppKey) + "\\Settings";
    AssertionResult result = PutDword(key, "ShellLimit", limit);
    if (result) result = PutDword(key, "ShellSep", separator);
    if (result) result = PutDword(key, "ShellHierarchy", hierarchy);
    if (result) result = PutDword(key, "ShellUserMenu", userMenu);
    return result;
}

AssertionResult PutUser(int k, const std::string& caption, const std::string& content) {
    std::string key = std::string(kAppKey) + "\\User" + std::to_string(k);
    AssertionResult result = PutValue(HKEY_CURRENT_USER, key, "Caption", REG_SZ, caption + '\0');
    if (result) result = PutValue(HKEY_CURRENT_USER, key, "Content", REG_SZ, content + '\0');
    if (result) result = PutDword(key, "Show", 1);
    return result;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    return !RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) && !RegCloseKey(opened);
}

std::string ReadString(HKEY root, const std::string& key, const char* name) {
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    LONG error = RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size);
    return error ? "<missing>" : buffer;
}

std::string VersionString(const std::string& path, const std::string& name) {
    // The tests link no version library; it is loaded for these few calls.
    zurimo::UniqueLibrary version(LoadLibraryA("version.dll"));
    auto find = [&](const char* symbol) {
        return reinterpret_cast<void*>(GetProcAddress(version.get(), symbol));
    };
    auto size = reinterpret_cast<DWORD(WINAPI*)(LPCSTR, LPDWORD)>(find("GetFileVersionInfoSizeA"));
    auto read = reinterpret_cast<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>(
        find("GetFileVersionInfoA"));
    auto query = reinterpret_cast<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>(
        find("VerQueryValueA"));
    DWORD handle = 0, length = size && read && query ? size(path.c_str(), &handle) : 0;
    std::string block(length, '\0');
    if (!length || !read(path.c_str(), 0, length, &block[0])) return "<no version resource>";
    std::string sub = name[0] == '\\' ? name : "\\StringFileInfo\\041104b0\\" + name;
    void* value = nullptr;
    UINT count = 0;
    if (!query(block.data(), sub.c_str(), &value, &count) || !value) return "<missing>";
    if (name[0] == '\\') return std::string(static_cast<const char*>(value), count);
    return static_cast<const char*>(value);
}

TempTree::~TempTree() { RemoveTree(Widened(root_)); }

AssertionResult TempTree::Create() {
    RemoveTree(Widened(root_));
    return CreateDirectoryA(root_.c_str(), nullptr) ? testing::AssertionSuccess()
                                                    : Failed("cannot create " + root_);
}

AssertionResult TempTree::Folder(const std::string& relative) {
    return CreateDirectoryA(Path(relative).c_str(), nullptr) ? testing::AssertionSuccess()
                                                             : Failed("cannot create " + relative);
}

AssertionResult TempTree::File(const std::string& relative, const std::string& bytes,
                               ULONGLONG size) {
    zurimo::UniqueFile file(CreateFileA(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    if (file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                          nullptr) &&
        written == bytes.size() &&
        (size <= bytes.size() ||
         (SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get())))) {
        return testing::AssertionSuccess();
    }
    return Failed("cannot write " + relative);
}

AssertionResult TempTree::File(const std::wstring& relative, const std::string& bytes) {
    std::wstring path = Widened(root_) + L"\\" + relative;
    zurimo::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                          nullptr) &&
        written == bytes.size()) {
        return testing::AssertionSuccess();
    }
    return Failed("cannot write a file of a UTF-16 name");
}

}  // namespace shellext_test
