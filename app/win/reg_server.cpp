#include "app/win/reg_server.h"

#include "base/text.h"
#include "base/win/program.h"
#include "base/win/win_text.h"

namespace zurimo {
namespace {

constexpr char kShellExtensionFile[] = "ZurimoEx.dll";

}  // namespace

bool CRegServer::Register(const std::string& path) { return Call(path, "DllRegisterServer"); }

bool CRegServer::Unregister(const std::string& path) { return Call(path, "DllUnregisterServer"); }

bool CRegServer::Call(const std::string& path, const char* name) {
    if (!ole_) {
        ShowMessage(nullptr, "初期化失敗", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return CallExport(path, name);
}

bool CRegServer::CallExport(const std::string& path, const char* name) {
    // The libraries it needs are looked for in its own folder first.
    UniqueLibrary library(LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!library) return false;
    using Export = HRESULT(STDAPICALLTYPE*)();
    // Through void*: GetProcAddress gives a FARPROC, whatever the export's real type.
    auto call = reinterpret_cast<Export>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
    return call && SUCCEEDED(call());
}

std::string ShellExtensionPath() {
    std::string program = ModulePath(nullptr);
    if (program.empty()) return std::string();
    return FolderOf(program) + kShellExtensionFile;  // the folder ends in its backslash
}

bool RegisterShellExtension(bool on, HWND owner) {
    std::string path = ShellExtensionPath();
    if (path.empty()) return false;
    CRegServer server;
    bool done = on ? server.Register(path) : server.Unregister(path);
    if (!done) {
        ShowMessage(owner,
                    std::string("シェル拡張の") + (on ? "登録" : "解除") + "に失敗しました : " + path,
                    MB_OK | MB_ICONEXCLAMATION);
    }
    return done;
}

}  // namespace zurimo
